// SPDX-License-Identifier: GPL-3.0-or-later
#include "starttimes/JsonNumbers.h"

#include <charconv>
#include <system_error>

namespace calvorin {
namespace {

bool IsNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

// The end of the string token that starts at `begin` (a double quote), past its closing quote.
size_t StringEnd(std::string_view json, size_t begin) {
    size_t i = begin + 1;
    while (i < json.size() && json[i] != '"') i += json[i] == '\\' ? 2 : 1;
    return i < json.size() ? i + 1 : json.size();
}

bool OutOfRange(std::string_view token) {
    double value = 0;
    auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    return error == std::errc::result_out_of_range && end == token.data() + token.size();
}

}  // namespace

std::string NullOutOfRangeNumbers(std::string_view json) {
    std::string out;
    out.reserve(json.size());
    for (size_t i = 0; i < json.size();) {
        size_t end = i + 1;
        if (json[i] == '"') {
            end = StringEnd(json, i);
        } else if (json[i] == '-' || (json[i] >= '0' && json[i] <= '9')) {
            end = i;
            while (end < json.size() && IsNumberChar(json[end])) ++end;
            if (OutOfRange(json.substr(i, end - i))) {
                out += "null";
                i = end;
                continue;
            }
        }
        out.append(json.substr(i, end - i));
        i = end;
    }
    return out;
}

}  // namespace calvorin
