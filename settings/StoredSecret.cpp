// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/StoredSecret.h"

#include <algorithm>
#include <stdexcept>

#include "platform/crypto/Base64.h"
#include "platform/crypto/Sha256.h"
#include "platform/text/Encoding.h"
#include "plugin/PluginContext.h"

namespace calvorin {
namespace {

// The stored form has no IV of its own: every installation must derive the same bytes.
constexpr Aes128Iv kZeroIv{};

void RequirePassphrase(std::string_view passphrase) {
    if (passphrase.empty()) throw std::runtime_error("Password cannot be empty");
}

}  // namespace

Aes128Key DeriveKey(std::string_view passphrase) {
    Sha256Digest digest = Sha256::Digest(passphrase);
    Aes128Key key;
    std::copy_n(digest.begin(), key.size(), key.begin());
    return key;
}

std::string EncryptText(std::string_view text, std::string_view passphrase) {
    RequirePassphrase(passphrase);
    std::string plain(text);
    plain += '\0';
    return Base64Encode(Aes128CbcEncrypt(DeriveKey(passphrase), kZeroIv, plain));
}

std::string DecryptText(std::string_view stored, std::string_view passphrase) {
    RequirePassphrase(passphrase);
    std::string plain = Aes128CbcDecrypt(DeriveKey(passphrase), kZeroIv, Base64Decode(stored));
    // A damaged secret must not bring broken text into the settings.
    return RepairUtf8(plain.substr(0, plain.find('\0')));
}

std::string ReadSecret(const IniFile& ini, std::string_view section, std::string_view key,
                       std::string_view def) {
    auto stored = ini.ReadValue(section, key);
    if (!stored) return std::string(def);
    try {
        return DecryptText(*stored, kApplicationTitle);
    } catch (...) {
        return std::string(def);
    }
}

void WriteSecret(IniFile& ini, std::string_view section, std::string_view key,
                 std::string_view value) noexcept {
    try {
        ini.WriteString(section, key, EncryptText(value, kApplicationTitle));
    } catch (...) {
        // Left out of the file on purpose: the settings window shows the field empty next time.
    }
}

}  // namespace calvorin
