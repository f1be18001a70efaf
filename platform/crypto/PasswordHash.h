// SPDX-License-Identifier: GPL-3.0-or-later
// Team password hashes in the "$5$" SHA-crypt form that PHP's crypt() and password_verify() accept.
#pragma once

#include <string>
#include <string_view>

namespace calvorin {

// Returns "$5$" + a fresh 16-character salt (Base64 of 12 random bytes) + "$" + the 43-character
// SHA-256-crypt digest of the password's UTF-8 bytes, 5000 rounds: 63 characters. Throws
// std::runtime_error when the random source or SHA-256 fails.
std::string HashPassword(std::string_view password);

// Returns the same form with the given salt, as crypt(3) does for "$5$" + salt. The salt must be 1 to 16
// characters without "$", ":" or line breaks; otherwise std::invalid_argument is thrown.
std::string HashPasswordWithSalt(std::string_view password, std::string_view salt);

// Returns crypt's Base64 of the bytes: alphabet "./0-9A-Za-z", each byte read from its least significant
// bit, 6 bits a character, the first bit read the character's lowest; a short final group is padded with
// zero high bits (32 bytes give 43 characters).
std::string CryptBase64(std::string_view bytes);

}  // namespace calvorin
