// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugin/log/Format.h"

namespace calvorin {

std::string FormatArg::AsText() const {
    if (auto* s = std::get_if<std::string>(&value_)) return *s;
    return std::to_string(std::get<std::int64_t>(value_));
}

std::int64_t FormatArg::AsInteger() const {
    if (auto* n = std::get_if<std::int64_t>(&value_)) return *n;
    return 0;
}

std::string Format(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%' || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        char conversion = format[i + 1];
        if (conversion == '%') {
            out += '%';
        } else if ((conversion == 's' || conversion == 'd' || conversion == 'i' || conversion == 'u') &&
                   next != args.end()) {
            out += conversion == 's' ? next->AsText() : std::to_string(next->AsInteger());
            ++next;
        } else {
            out += format.substr(i, 2);
        }
        ++i;
    }
    return out;
}

}  // namespace calvorin
