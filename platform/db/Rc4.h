// SPDX-License-Identifier: GPL-3.0-or-later
// RC4, the stream cipher Jet masks its header and enciphers the pages of an encoded file with.
#pragma once

#include <span>

namespace calvorin {

// XORs `data` in place with the RC4 stream of `key`: the same call enciphers and deciphers. An empty key
// leaves the data as it is.
void ApplyRc4(std::span<const unsigned char> key, std::span<unsigned char> data);

}  // namespace calvorin
