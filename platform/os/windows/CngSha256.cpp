// SPDX-License-Identifier: GPL-3.0-or-later
// SHA-256 over CNG: the hasher's state is one reusable hash object, which each digest starts again.
#include <algorithm>

#include "platform/crypto/Sha256.h"
#include "platform/os/windows/CngHandle.h"

namespace calvorin {
namespace {

// Opened once: opening a provider is far dearer than a hash. BCRYPT_HASH_REUSABLE_FLAG (Windows 8 and
// later, Wine too) lets BCryptFinishHash leave the object ready for the next message.
BCRYPT_ALG_HANDLE Sha256Algorithm() {
    static const CngAlgorithm algorithm =
        OpenCngAlgorithm(BCRYPT_SHA256_ALGORITHM, BCRYPT_HASH_REUSABLE_FLAG, "SHA-256 non disponibile");
    return algorithm.get();
}

}  // namespace

struct Sha256::State {
    CngHash hash;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
    BCRYPT_HASH_HANDLE handle = nullptr;
    // No object buffer of ours: CNG allocates it, once, with the handle.
    CheckCng(BCryptCreateHash(Sha256Algorithm(), &handle, nullptr, 0, nullptr, 0, BCRYPT_HASH_REUSABLE_FLAG),
             "SHA-256");
    state_->hash.reset(handle);
}

Sha256::~Sha256() = default;
Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;

void Sha256::Update(const void* data, std::size_t size) {
    // BCryptHashData takes a ULONG (32 bits on Windows): larger inputs go in pieces.
    auto* bytes = static_cast<PUCHAR>(const_cast<void*>(data));
    while (size > 0) {
        auto piece = static_cast<ULONG>(std::min<std::size_t>(size, ULONG_MAX));
        CheckCng(BCryptHashData(state_->hash.get(), bytes, piece, 0), "SHA-256");
        bytes += piece;
        size -= piece;
    }
}

void Sha256::Final(Sha256Digest& out) {
    CheckCng(BCryptFinishHash(state_->hash.get(), out.data(), static_cast<ULONG>(out.size()), 0), "SHA-256");
}

}  // namespace calvorin
