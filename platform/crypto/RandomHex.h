// SPDX-License-Identifier: GPL-3.0-or-later
// Short random tokens of hexadecimal digits, for archive names that cannot be guessed.
#pragma once

#include <string>

namespace calvorin {

// Returns n lower-case hexadecimal digits, two per random byte, high nibble first. n must be even:
// an odd n throws std::invalid_argument. A failing random source throws std::runtime_error.
std::string RandomHex(unsigned n);

}  // namespace calvorin
