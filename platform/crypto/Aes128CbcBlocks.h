// SPDX-License-Identifier: GPL-3.0-or-later
// Bare AES-128-CBC over whole blocks, without padding: the part each system's library provides.
#pragma once

#include <string>
#include <string_view>

#include "platform/crypto/Aes128Cbc.h"

namespace calvorin {

// Return the blocks encrypted or decrypted, as long as the input. The input is a positive multiple of
// 16 bytes, at most kAes128CbcMaxText + 16; Aes128Cbc.cpp checks that before calling. Throw
// std::runtime_error "Cifratura AES: ..." or "Decifratura AES: ..." when the library fails.
std::string Aes128CbcEncryptBlocks(const Aes128Key& key, const Aes128Iv& iv, std::string_view blocks);
std::string Aes128CbcDecryptBlocks(const Aes128Key& key, const Aes128Iv& iv, std::string_view blocks);

}  // namespace calvorin
