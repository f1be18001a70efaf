// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/Aes128Cbc.h"

#include <openssl/evp.h>

#include <memory>

#include "platform/crypto/OpensslError.h"

namespace calvorin {
namespace {

struct CtxFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

const EVP_CIPHER* Aes128CbcAlgorithm() {
    struct CipherFree {
        void operator()(EVP_CIPHER* cipher) const { EVP_CIPHER_free(cipher); }
    };
    static const std::unique_ptr<EVP_CIPHER, CipherFree> cipher(
        EVP_CIPHER_fetch(nullptr, "AES-128-CBC", nullptr));
    if (!cipher) ThrowOpensslError("AES-128-CBC non disponibile");
    return cipher.get();
}

// One whole encryption (encrypt = 1) or decryption (encrypt = 0); padding on, as OpenSSL's default.
std::string Run(int encrypt, const Aes128Key& key, const Aes128Iv& iv, std::string_view input) {
    const char* operation = encrypt ? "Cifratura AES" : "Decifratura AES";
    std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
    if (!ctx ||
        EVP_CipherInit_ex2(ctx.get(), Aes128CbcAlgorithm(), key.data(), iv.data(), encrypt, nullptr) != 1)
        ThrowOpensslError(operation);
    std::string out(input.size() + 16, '\0');
    auto* buffer = reinterpret_cast<unsigned char*>(out.data());
    int written = 0, last = 0;
    if (EVP_CipherUpdate(ctx.get(), buffer, &written, reinterpret_cast<const unsigned char*>(input.data()),
                         static_cast<int>(input.size())) != 1 ||
        EVP_CipherFinal_ex(ctx.get(), buffer + written, &last) != 1)
        ThrowOpensslError(operation);
    out.resize(static_cast<std::size_t>(written) + static_cast<std::size_t>(last));
    return out;
}

}  // namespace

std::string Aes128CbcEncrypt(const Aes128Key& key, const Aes128Iv& iv, std::string_view plaintext) {
    return Run(1, key, iv, plaintext);
}

std::string Aes128CbcDecrypt(const Aes128Key& key, const Aes128Iv& iv, std::string_view ciphertext) {
    return Run(0, key, iv, ciphertext);
}

}  // namespace calvorin
