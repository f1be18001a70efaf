// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers with decimals as FCM's settings write them, with the regional separator.
#pragma once

#include <optional>
#include <string_view>

namespace calvorin {

// Returns the number in `text`: blanks around it, an optional sign, digits with at most one decimal
// separator, "," or "." alike ("6,5" and "6.5"). Nothing for an empty text, an exponent, trailing
// characters, or a value that is not finite.
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace calvorin
