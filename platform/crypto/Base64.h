// SPDX-License-Identifier: GPL-3.0-or-later
// Standard Base64 (RFC 4648, section 4): "+" and "/", "=" padding, no line breaks.
#pragma once

#include <string>
#include <string_view>

namespace calvorin {

// Returns the Base64 text of `bytes`, padded with "=", on one line.
std::string Base64Encode(std::string_view bytes);

// Returns the bytes of a Base64 text. Strict: throws std::invalid_argument when the length is not a
// multiple of 4, a character lies outside the alphabet (blanks and line breaks included), or "="
// appears anywhere but as one or two final characters. The empty text gives no bytes.
std::string Base64Decode(std::string_view text);

}  // namespace calvorin
