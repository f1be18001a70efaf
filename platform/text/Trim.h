// SPDX-License-Identifier: GPL-3.0-or-later
// Trimming of blanks and control characters, the one rule every text field and file line follows.
#pragma once

#include <string>
#include <string_view>

namespace calvorin {

// True for the characters that trimming removes: blanks and control characters (bytes up to 0x20).
// UTF-8 continuation and lead bytes are never such characters, so trimming UTF-8 text is safe.
constexpr bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// Returns the text without blanks and control characters at both ends.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

// Returns the text without blanks and control characters at its end; leading ones stay.
std::string TrimRight(std::string_view text);

// Lower-cases ASCII letters only; other bytes stay as they are.
std::string AsciiLower(std::string_view text);

// Compares two texts folding ASCII letters only.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace calvorin
