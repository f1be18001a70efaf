// SPDX-License-Identifier: GPL-3.0-or-later
// Secrets kept in the settings file as Base64 text of AES-128-CBC ciphertext under a fixed passphrase.
// This hides them from a glance at the file, not from anyone who has the program: see docs/secrets.md.
#pragma once

#include <string>
#include <string_view>

#include "platform/crypto/Aes128Cbc.h"
#include "settings/IniFile.h"

namespace calvorin {

// Returns the first 16 bytes of SHA-256 over the passphrase's UTF-8 bytes. Throws std::runtime_error
// when SHA-256 is not available.
Aes128Key DeriveKey(std::string_view passphrase);

// Returns the stored text of `text`: Base64 (with padding, one line) of AES-128-CBC with a zero IV and
// PKCS#7 padding over the UTF-8 bytes of `text` and one 0x00 byte. Equal inputs give equal texts.
// Throws std::runtime_error "Password cannot be empty" for an empty passphrase, or with OpenSSL's message.
std::string EncryptText(std::string_view text, std::string_view passphrase);

// Returns the text held by a stored text, up to its first 0x00 byte (bytes that are not valid UTF-8
// become U+FFFD). Throws std::runtime_error for an empty passphrase and std::invalid_argument or
// std::runtime_error for a text that is not strict Base64 or whose ciphertext has a wrong length or padding.
std::string DecryptText(std::string_view stored, std::string_view passphrase);

// Returns the decrypted value of the key, or `def` when the key is missing or its trimmed value (empty
// included) cannot be decrypted with the application title. Never throws.
std::string ReadSecret(const IniFile& ini, std::string_view section, std::string_view key,
                       std::string_view def);

// Stores the encrypted value under the key. When encryption fails the key is left untouched and nothing is
// reported. Never throws.
void WriteSecret(IniFile& ini, std::string_view section, std::string_view key,
                 std::string_view value) noexcept;

}  // namespace calvorin
