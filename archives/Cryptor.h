// SPDX-License-Identifier: GPL-3.0-or-later
// The traditional PKWARE ZIP encryption ("ZipCrypto") of the ZIP application note, section 6.1.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace calvorin {

// The three keys and their update rule. Weak by today's standards; kept because every unzip tool reads it.
class TCryptor {
  public:
    using Keys = std::array<std::uint32_t, 3>;

    // Starts from the note's initial keys and feeds the password's bytes (already in the archive's
    // 8-bit code page) into the key update.
    void InitKeys(std::string_view password);

    // Encrypts (or decrypts) one byte in place and advances the keys with the plain byte.
    void EncryptByte(std::uint8_t& value);
    void DecryptByte(std::uint8_t& value);

    // Encrypts or decrypts a whole buffer in place; the same as calling the byte operations in order.
    void EncryptBuffer(std::uint8_t* data, std::size_t size);
    void DecryptBuffer(std::uint8_t* data, std::size_t size);

    const Keys& CurrentKeys() const { return keys_; }

  private:
    Keys keys_{0x12345678u, 0x23456789u, 0x34567890u};
};

}  // namespace calvorin
