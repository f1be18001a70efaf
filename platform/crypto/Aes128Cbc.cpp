// SPDX-License-Identifier: GPL-3.0-or-later
// PKCS#7 padding around the library's bare AES-128-CBC, so every system pads and checks alike.
#include "platform/crypto/Aes128Cbc.h"

#include <algorithm>
#include <stdexcept>

#include "platform/crypto/Aes128CbcBlocks.h"

namespace calvorin {
namespace {

constexpr std::size_t kBlock = 16;

}  // namespace

std::string Aes128CbcEncrypt(const Aes128Key& key, const Aes128Iv& iv, std::string_view plaintext) {
    if (plaintext.size() > kAes128CbcMaxText)
        throw std::runtime_error("Cifratura AES: testo più lungo di 1 GiB");
    std::size_t padding = kBlock - plaintext.size() % kBlock;
    std::string blocks;
    blocks.reserve(plaintext.size() + padding);
    blocks.append(plaintext).append(padding, static_cast<char>(padding));
    return Aes128CbcEncryptBlocks(key, iv, blocks);
}

std::string Aes128CbcDecrypt(const Aes128Key& key, const Aes128Iv& iv, std::string_view ciphertext) {
    if (ciphertext.empty() || ciphertext.size() % kBlock != 0 ||
        ciphertext.size() > kAes128CbcMaxText + kBlock)
        throw std::runtime_error(
            "Decifratura AES: la lunghezza del testo cifrato non è un multiplo positivo di 16 byte");
    std::string plain = Aes128CbcDecryptBlocks(key, iv, ciphertext);
    // Every padding byte is checked, not only the last one: CNG under Wine looks at the last byte alone,
    // and a wrong key must not pass for a right one more often on one system than on the other.
    auto padding = static_cast<unsigned char>(plain.back());
    if (padding == 0 || padding > kBlock ||
        !std::all_of(plain.end() - padding, plain.end(),
                     [padding](char c) { return static_cast<unsigned char>(c) == padding; }))
        throw std::runtime_error("Decifratura AES: riempimento PKCS#7 non valido");
    plain.resize(plain.size() - padding);
    return plain;
}

}  // namespace calvorin
