// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/Decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
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

namespace {

// A binary fraction with exactly k fractional bits has exactly k decimals, the last one a 5. So a value
// lies exactly halfway at `decimals` places when it has exactly decimals + 1 fractional bits, that is when
// value * 2^(decimals + 1) is an odd integer.
bool IsExactlyHalfway(double value, int decimals) {
    const double scaled = std::ldexp(value, decimals + 1);
    return std::isfinite(scaled) && std::fabs(scaled) < 0x1p53 && scaled == std::trunc(scaled) &&
           std::fmod(scaled, 2.0) != 0;
}

// Adds one unit of the last digit to the magnitude of a number written with digits and one point.
void IncrementLastDigit(std::string& text) {
    std::size_t i = text.size();
    while (i > 0) {
        char& c = text[--i];
        if (c == '.') continue;
        if (c == '-') {
            ++i;
            break;
        }
        if (c != '9') {
            ++c;
            return;
        }
        c = '0';
    }
    text.insert(i, 1, '1');
}

}  // namespace

std::string FormatDecimal(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 17);
    // Room for the largest double in fixed notation (309 digits) with the decimals and one more.
    char buffer[std::numeric_limits<double>::max_exponent10 + 32];
    char* const end = buffer + sizeof buffer;
    if (!IsExactlyHalfway(value, decimals))
        return {buffer, std::to_chars(buffer, end, value, std::chars_format::fixed, decimals).ptr};
    // One more decimal writes the value exactly, ending in 5: drop it and round the magnitude up.
    std::string text(buffer, std::to_chars(buffer, end, value, std::chars_format::fixed, decimals + 1).ptr);
    text.pop_back();
    if (decimals == 0) text.pop_back();
    IncrementLastDigit(text);
    return text;
}

}  // namespace calvorin
