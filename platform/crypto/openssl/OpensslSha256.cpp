// SPDX-License-Identifier: GPL-3.0-or-later
// SHA-256 over OpenSSL 3: the hasher's state is one EVP_MD_CTX, started again after each digest.
#include <openssl/evp.h>

#include "platform/crypto/Sha256.h"
#include "platform/crypto/openssl/OpensslError.h"

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

struct Sha256::State {
    struct CtxFree {
        void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
    };
    std::unique_ptr<EVP_MD_CTX, CtxFree> ctx{EVP_MD_CTX_new()};
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
    if (!state_->ctx) ThrowOpensslError("SHA-256");
    Start(state_->ctx.get());
}

Sha256::~Sha256() = default;
Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;

void Sha256::Update(const void* data, std::size_t size) {
    if (EVP_DigestUpdate(state_->ctx.get(), data, size) != 1) ThrowOpensslError("SHA-256");
}

void Sha256::Final(Sha256Digest& out) {
    if (EVP_DigestFinal_ex(state_->ctx.get(), out.data(), nullptr) != 1) ThrowOpensslError("SHA-256");
    Start(state_->ctx.get());
}

}  // namespace calvorin
