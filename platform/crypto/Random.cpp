// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/Random.h"

#include <openssl/rand.h>

#include "platform/crypto/OpensslError.h"

namespace calvorin {

std::string RandomBytes(std::size_t n) {
    std::string out(n, '\0');
    if (n > 0 && RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), static_cast<int>(n)) != 1)
        ThrowOpensslError("Generatore di numeri casuali non disponibile");
    return out;
}

}  // namespace calvorin
