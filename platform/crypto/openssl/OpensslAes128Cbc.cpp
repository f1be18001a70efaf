// SPDX-License-Identifier: GPL-3.0-or-later
// Bare AES-128-CBC over OpenSSL 3, padding off: Aes128Cbc.cpp pads and checks.
#include <openssl/evp.h>

#include <memory>

#include "platform/crypto/Aes128CbcBlocks.h"
#include "platform/crypto/openssl/OpensslError.h"

namespace calvorin {
namespace {

const EVP_CIPHER* Aes128CbcAlgorithm() {
    struct CipherFree {
        void operator()(EVP_CIPHER* cipher) const { EVP_CIPHER_free(cipher); }
    };
    static const std::unique_ptr<EVP_CIPHER, CipherFree> cipher(
        EVP_CIPHER_fetch(nullptr, "AES-128-CBC", nullptr));
    if (!cipher) ThrowOpensslError("AES-128-CBC non disponibile");
    return cipher.get();
}

// One whole encryption (encrypt = 1) or decryption (encrypt = 0) of whole blocks.
std::string Run(int encrypt, const Aes128Key& key, const Aes128Iv& iv, std::string_view blocks) {
    struct CtxFree {
        void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
    };
    const char* operation = encrypt ? "Cifratura AES" : "Decifratura AES";
    std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
    if (!ctx ||
        EVP_CipherInit_ex2(ctx.get(), Aes128CbcAlgorithm(), key.data(), iv.data(), encrypt, nullptr) != 1 ||
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1)
        ThrowOpensslError(operation);
    std::string out(blocks.size(), '\0');
    auto* buffer = reinterpret_cast<unsigned char*>(out.data());
    int written = 0;
    int last = 0;
    // The length fits an int: the callers stop at kAes128CbcMaxText + 16.
    if (EVP_CipherUpdate(ctx.get(), buffer, &written, reinterpret_cast<const unsigned char*>(blocks.data()),
                         static_cast<int>(blocks.size())) != 1 ||
        EVP_CipherFinal_ex(ctx.get(), buffer + written, &last) != 1)
        ThrowOpensslError(operation);
    out.resize(static_cast<std::size_t>(written) + static_cast<std::size_t>(last));
    return out;
}

}  // namespace

std::string Aes128CbcEncryptBlocks(const Aes128Key& key, const Aes128Iv& iv, std::string_view blocks) {
    return Run(1, key, iv, blocks);
}

std::string Aes128CbcDecryptBlocks(const Aes128Key& key, const Aes128Iv& iv, std::string_view blocks) {
    return Run(0, key, iv, blocks);
}

}  // namespace calvorin
