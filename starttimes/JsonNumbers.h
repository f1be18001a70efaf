// SPDX-License-Identifier: GPL-3.0-or-later
// Makes an answer's numbers that no double can hold harmless before the JSON parser sees them.
#pragma once

#include <string>
#include <string_view>

namespace calvorin {

// Returns the JSON text with every number token outside strings that overflows or underflows a double
// (1e999, -1e999, 1e-999, a 400-digit integer) written as null; everything else is copied unchanged.
// The JSON parser rejects a whole text for such a number, while the answer never uses a number: this
// keeps an out-of-range value in a member that is ignored from spoiling the answer.
std::string NullOutOfRangeNumbers(std::string_view json);

}  // namespace calvorin
