// SPDX-License-Identifier: GPL-3.0-or-later
// Strict UTF-8 decoding, the one check of whether bytes are well-formed UTF-8, counting characters, and
// encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace calvorin {

// Returns the length of the valid UTF-8 sequence at the start of `s` and sets `codePoint`; returns 0
// when it is not one (a stray or cut sequence, an overlong form, a surrogate, a value above U+10FFFF).
std::size_t DecodeUtf8(std::string_view s, char32_t& codePoint);

// True when the whole text is well-formed UTF-8 by the rules of DecodeUtf8.
bool IsValidUtf8(std::string_view s);

// The number of characters of UTF-8 text: the bytes that start a sequence (continuation bytes are not
// counted, so a damaged sequence counts once per stray lead byte).
int CountCharacters(std::string_view s);

// The longest start of UTF-8 text that holds at most `count` characters, never cutting a sequence.
std::string_view FirstCharacters(std::string_view s, int count);

// Appends the UTF-8 form of a code point, which must be at most U+10FFFF and no surrogate.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace calvorin
