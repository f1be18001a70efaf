// SPDX-License-Identifier: GPL-3.0-or-later
// Bytes from the system's cryptographic random source.
#pragma once

#include <cstddef>
#include <string>

namespace calvorin {

// Returns n bytes from OpenSSL's cryptographically strong generator. Throws std::runtime_error with
// OpenSSL's message when the generator fails.
std::string RandomBytes(std::size_t n);

}  // namespace calvorin
