// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/openssl/OpensslError.h"

#include <openssl/err.h>

#include <stdexcept>
#include <string>

namespace calvorin {

void ThrowOpensslError(std::string_view operation) {
    unsigned long code = ERR_get_error();
    char reason[256] = "errore sconosciuto";
    if (code != 0) ERR_error_string_n(code, reason, sizeof reason);
    ERR_clear_error();
    throw std::runtime_error(std::string(operation) + ": " + reason);
}

}  // namespace calvorin
