// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/Trim.h"

#include <algorithm>

namespace calvorin {

std::string_view TrimView(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
    return text;
}

std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

std::string TrimRight(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
    return std::string(text);
}

static char AsciiLowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), AsciiLowerChar);
    return out;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLowerChar(x) == AsciiLowerChar(y);
           });
}

}  // namespace calvorin
