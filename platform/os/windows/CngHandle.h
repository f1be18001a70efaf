// SPDX-License-Identifier: GPL-3.0-or-later
// Owners of CNG (bcrypt) handles, and the exception for a failed CNG call (Windows build only).
#pragma once

// windows.h first, in a block of its own: bcrypt.h needs its types.
#include <windows.h>

#include <bcrypt.h>

#include <memory>
#include <string_view>

namespace calvorin {

// Returns when `status` is a success; otherwise throws std::runtime_error "<operation>: NTSTATUS 0x%08X".
void CheckCng(NTSTATUS status, std::string_view operation);

struct CngAlgorithmClose {
    void operator()(BCRYPT_ALG_HANDLE handle) const noexcept { BCryptCloseAlgorithmProvider(handle, 0); }
};
struct CngKeyDestroy {
    void operator()(BCRYPT_KEY_HANDLE handle) const noexcept { BCryptDestroyKey(handle); }
};
struct CngHashDestroy {
    void operator()(BCRYPT_HASH_HANDLE handle) const noexcept { BCryptDestroyHash(handle); }
};

// The handles are all void pointers; each owner type closes its own kind.
using CngAlgorithm = std::unique_ptr<void, CngAlgorithmClose>;
using CngKey = std::unique_ptr<void, CngKeyDestroy>;
using CngHash = std::unique_ptr<void, CngHashDestroy>;

// Returns the open algorithm provider `algorithm` (a BCRYPT_*_ALGORITHM name) with `flags`. Throws as
// CheckCng, with `operation`, when it cannot be opened.
CngAlgorithm OpenCngAlgorithm(LPCWSTR algorithm, ULONG flags, std::string_view operation);

}  // namespace calvorin
