// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers with decimals: as FCM's settings write them, and as the generated files write them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace calvorin {

// Returns the number in `text`: blanks around it, an optional sign, digits with at most one decimal
// separator, "," or "." alike ("6,5" and "6.5"). Nothing for an empty text, an exponent, trailing
// characters, or a value that is not finite.
std::optional<double> ParseDecimal(std::string_view text);

// Writes the number with `decimals` (0 to 17) decimals and a point, whatever the locale, as "%.*f" does,
// except that a value exactly halfway between two results rounds away from zero: 6.3125 gives "6.313"
// with three decimals, where the C library, rounding halves to even, writes "6.312". A value that only
// looks halfway is not one: 0.0005 is stored a little above it and gives "0.001" either way.
std::string FormatDecimal(double value, int decimals);

}  // namespace calvorin
