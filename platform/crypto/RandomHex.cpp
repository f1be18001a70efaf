// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/RandomHex.h"

#include <stdexcept>

#include "platform/crypto/Random.h"

namespace calvorin {

std::string RandomHex(unsigned n) {
    if (n % 2 != 0) throw std::invalid_argument("La lunghezza del codice casuale deve essere pari");
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(n);
    for (unsigned char byte : RandomBytes(n / 2)) {
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0x0F];
    }
    return out;
}

}  // namespace calvorin
