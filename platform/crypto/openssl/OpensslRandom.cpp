// SPDX-License-Identifier: GPL-3.0-or-later
// Random bytes from OpenSSL's generator.
#include <openssl/rand.h>

#include <algorithm>
#include <climits>

#include "platform/crypto/Random.h"
#include "platform/crypto/openssl/OpensslError.h"

namespace calvorin {

std::string RandomBytes(std::size_t n) {
    std::string out(n, '\0');
    auto* buffer = reinterpret_cast<unsigned char*>(out.data());
    // RAND_bytes takes an int: larger requests go in pieces.
    for (std::size_t done = 0; done < n;) {
        std::size_t piece = std::min<std::size_t>(n - done, INT_MAX);
        if (RAND_bytes(buffer + done, static_cast<int>(piece)) != 1)
            ThrowOpensslError("Generatore di numeri casuali non disponibile");
        done += piece;
    }
    return out;
}

}  // namespace calvorin
