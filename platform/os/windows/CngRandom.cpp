// SPDX-License-Identifier: GPL-3.0-or-later
// Random bytes from the system's preferred CNG generator.
#include <algorithm>

#include "platform/crypto/Random.h"
#include "platform/os/windows/CngHandle.h"

namespace calvorin {

std::string RandomBytes(std::size_t n) {
    std::string out(n, '\0');
    auto* buffer = reinterpret_cast<PUCHAR>(out.data());
    // BCryptGenRandom takes a ULONG: larger requests go in pieces.
    for (std::size_t done = 0; done < n;) {
        auto piece = static_cast<ULONG>(std::min<std::size_t>(n - done, ULONG_MAX));
        CheckCng(BCryptGenRandom(nullptr, buffer + done, piece, BCRYPT_USE_SYSTEM_PREFERRED_RNG),
                 "Generatore di numeri casuali non disponibile");
        done += piece;
    }
    return out;
}

}  // namespace calvorin
