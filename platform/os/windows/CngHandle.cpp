// SPDX-License-Identifier: GPL-3.0-or-later
// The exception for a failed CNG call, and opening an algorithm provider.
#include "platform/os/windows/CngHandle.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace calvorin {

void CheckCng(NTSTATUS status, std::string_view operation) {
    if (BCRYPT_SUCCESS(status)) return;
    char code[32];
    std::snprintf(code, sizeof code, "NTSTATUS 0x%08lX", static_cast<unsigned long>(status));
    throw std::runtime_error(std::string(operation) + ": " + code);
}

CngAlgorithm OpenCngAlgorithm(LPCWSTR algorithm, ULONG flags, std::string_view operation) {
    BCRYPT_ALG_HANDLE handle = nullptr;
    CheckCng(BCryptOpenAlgorithmProvider(&handle, algorithm, nullptr, flags), operation);
    return CngAlgorithm(handle);
}

}  // namespace calvorin
