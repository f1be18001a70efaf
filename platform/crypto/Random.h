// SPDX-License-Identifier: GPL-3.0-or-later
// Bytes from the system's cryptographic random source.
#pragma once

#include <cstddef>
#include <string>

namespace calvorin {

// Returns n bytes from the system's cryptographically strong generator (OpenSSL's on Linux, CNG's on
// Windows). Throws std::runtime_error "Generatore di numeri casuali non disponibile: ..." when it fails.
std::string RandomBytes(std::size_t n);

}  // namespace calvorin
