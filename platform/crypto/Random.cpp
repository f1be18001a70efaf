// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/Random.h"

#include <openssl/err.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace calvorin {

std::string RandomBytes(std::size_t n) {
    std::string out(n, '\0');
    if (n > 0 && RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), static_cast<int>(n)) != 1) {
        char reason[256];
        ERR_error_string_n(ERR_get_error(), reason, sizeof reason);
        throw std::runtime_error(std::string("Generatore di numeri casuali non disponibile: ") + reason);
    }
    return out;
}

}  // namespace calvorin
