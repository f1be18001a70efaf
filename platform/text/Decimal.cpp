// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/Decimal.h"

#include <charconv>
#include <cmath>
#include <string>

#include "platform/text/Trim.h"

namespace calvorin {

std::optional<double> ParseDecimal(std::string_view text) {
    std::string number(TrimView(text));
    if (!number.empty() && number.front() == '+') number.erase(0, 1);
    for (char& c : number)
        if (c == ',') c = '.';
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), end, value, std::chars_format::fixed);
    if (number.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace calvorin
