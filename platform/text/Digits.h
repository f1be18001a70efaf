// SPDX-License-Identifier: GPL-3.0-or-later
// ASCII digits, the only digits that the fixed text forms read here (file names, dates, keys) allow.
#pragma once

#include <cstddef>
#include <string_view>

namespace calvorin {

// True for '0' to '9' only: the digits of other scripts are not digits in these forms.
constexpr bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// Returns how many ASCII digits start the text.
constexpr std::size_t LeadingDigitCount(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && IsAsciiDigit(text[n])) ++n;
    return n;
}

// Returns how many ASCII digits end the text.
constexpr std::size_t TrailingDigitCount(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && IsAsciiDigit(text[text.size() - 1 - n])) ++n;
    return n;
}

}  // namespace calvorin
