// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of the SHA-256 hasher that do not depend on the library.
#include "platform/crypto/Sha256.h"

namespace calvorin {

Sha256Digest Sha256::Final() {
    Sha256Digest out;
    Final(out);
    return out;
}

Sha256Digest Sha256::Digest(std::string_view bytes) {
    Sha256 hasher;
    hasher.Update(bytes);
    return hasher.Final();
}

}  // namespace calvorin
