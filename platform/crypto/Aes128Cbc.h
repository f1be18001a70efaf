// SPDX-License-Identifier: GPL-3.0-or-later
// AES-128 (FIPS 197) in CBC mode with PKCS#7 padding, over the system's library.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace calvorin {

using Aes128Key = std::array<std::uint8_t, 16>;
using Aes128Iv = std::array<std::uint8_t, 16>;

// Texts longer than this are refused: no caller comes near it, and it keeps every length well inside
// what the libraries' calls take.
inline constexpr std::size_t kAes128CbcMaxText = std::size_t{1} << 30;

// Returns the ciphertext of `plaintext`, padded with PKCS#7 (a whole block of padding when the length is
// a multiple of 16). Throws std::runtime_error when the plaintext is longer than kAes128CbcMaxText or
// the library fails (its message, or the failure code on Windows).
std::string Aes128CbcEncrypt(const Aes128Key& key, const Aes128Iv& iv, std::string_view plaintext);

// Returns the plaintext of `ciphertext` with its padding removed. Throws std::runtime_error
// "Decifratura AES: ..." when the length is not a positive multiple of 16 (or is above
// kAes128CbcMaxText + 16), or when the padding is not valid PKCS#7: a last byte from 1 to 16, repeated
// that many times. The checks and their messages are ours, the same on every system.
std::string Aes128CbcDecrypt(const Aes128Key& key, const Aes128Iv& iv, std::string_view ciphertext);

}  // namespace calvorin
