// SPDX-License-Identifier: GPL-3.0-or-later
// Integer texts as FCM's settings write them: decimal, or hexadecimal after "$" or "0x".
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace calvorin {

// Reads a 32-bit integer: leading blanks, an optional sign, then decimal digits, or hexadecimal digits
// after "$", "0x" or "0X" (up to eight, read as the 32-bit pattern). Anything else, trailing characters
// or a decimal value out of range give nothing.
std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace calvorin
