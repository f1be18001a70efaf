// SPDX-License-Identifier: GPL-3.0-or-later
// Printable test passwords of any length, for the password hash tests.
#pragma once

#include <cstddef>
#include <string>

namespace calvorin::test {

// Returns n characters cycling through "!" to "z".
inline std::string PasswordOfLength(std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += static_cast<char>('!' + i % 90);
    return out;
}

}  // namespace calvorin::test
