// SPDX-License-Identifier: GPL-3.0-or-later
// AES-128 (FIPS 197) in CBC mode with PKCS#7 padding, over OpenSSL.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace calvorin {

using Aes128Key = std::array<std::uint8_t, 16>;
using Aes128Iv = std::array<std::uint8_t, 16>;

// Returns the ciphertext of `plaintext`, padded with PKCS#7 (a whole block of padding when the length is
// a multiple of 16). Throws std::runtime_error with OpenSSL's message when the cipher fails.
std::string Aes128CbcEncrypt(const Aes128Key& key, const Aes128Iv& iv, std::string_view plaintext);

// Returns the plaintext of `ciphertext` with its padding removed. Throws std::runtime_error when the
// length is not a positive multiple of 16 or the padding is not valid PKCS#7.
std::string Aes128CbcDecrypt(const Aes128Key& key, const Aes128Iv& iv, std::string_view ciphertext);

}  // namespace calvorin
