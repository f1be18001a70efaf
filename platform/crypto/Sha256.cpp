// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/Sha256.h"

#include <openssl/evp.h>

#include "platform/crypto/OpensslError.h"

namespace calvorin {
namespace {

// Fetched once: an implicit fetch at every initialisation would cost a provider look-up each time.
const EVP_MD* Sha256Algorithm() {
    struct MdFree {
        void operator()(EVP_MD* md) const { EVP_MD_free(md); }
    };
    static const std::unique_ptr<EVP_MD, MdFree> md(EVP_MD_fetch(nullptr, "SHA256", nullptr));
    if (!md) ThrowOpensslError("SHA-256 non disponibile");
    return md.get();
}

void Start(EVP_MD_CTX* ctx) {
    if (EVP_DigestInit_ex2(ctx, Sha256Algorithm(), nullptr) != 1) ThrowOpensslError("SHA-256");
}

}  // namespace

void Sha256::CtxFree::operator()(EVP_MD_CTX* ctx) const {
    EVP_MD_CTX_free(ctx);
}

Sha256::Sha256() : ctx_(EVP_MD_CTX_new()) {
    if (!ctx_) ThrowOpensslError("SHA-256");
    Start(ctx_.get());
}

Sha256::~Sha256() = default;
Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;

void Sha256::Update(const void* data, std::size_t size) {
    if (EVP_DigestUpdate(ctx_.get(), data, size) != 1) ThrowOpensslError("SHA-256");
}

void Sha256::Final(Sha256Digest& out) {
    if (EVP_DigestFinal_ex(ctx_.get(), out.data(), nullptr) != 1) ThrowOpensslError("SHA-256");
    Start(ctx_.get());
}

Sha256Digest Sha256::Final() {
    Sha256Digest out;
    Final(out);
    return out;
}

Sha256Digest Sha256::Digest(std::string_view bytes) {
    Sha256 hasher;
    hasher.Update(bytes);
    return hasher.Final();
}

}  // namespace calvorin
