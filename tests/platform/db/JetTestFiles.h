// SPDX-License-Identifier: GPL-3.0-or-later
// Changing Access files in tests: little-endian numbers patched in place, and encoding as Access does it.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "platform/db/JetBytes.h"
#include "platform/db/JetFile.h"
#include "platform/db/Rc4.h"

namespace calvorin::test {

inline unsigned Get16(const std::string& b, std::size_t at) {
    return Le16(reinterpret_cast<const unsigned char*>(b.data()) + at);
}
inline std::uint32_t Get32(const std::string& b, std::size_t at) {
    return Le32(reinterpret_cast<const unsigned char*>(b.data()) + at);
}
inline void Put16(std::string& b, std::size_t at, unsigned v) {
    for (std::size_t i = 0; i < 2; ++i) b.at(at + i) = static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) b.at(at + i) = static_cast<char>((v >> (8 * i)) & 0xFF);
}

inline std::span<unsigned char> Bytes(std::string& b, std::size_t at, std::size_t size) {
    if (at + size > b.size()) throw std::out_of_range("past the end of the file");
    return {reinterpret_cast<unsigned char*>(b.data()) + at, size};
}

// What Access's "Encode database" makes of a file that is not encoded: the database key stored under
// the header's mask, and every page after the header enciphered with RC4 under that key XOR the page's
// number.
inline std::string EncodeJetFile(std::string file, std::uint32_t key) {
    const std::size_t pageSize = file.at(0x14) == 0 ? 2048 : 4096;
    const std::span<unsigned char> masked =
        Bytes(file, jet_header::kMaskedAt, jet_header::kKeyAt + 4 - jet_header::kMaskedAt);
    ApplyRc4(jet_header::kMaskKey, masked);
    if (Get32(file, jet_header::kKeyAt) != 0) throw std::invalid_argument("the file is encoded already");
    Put32(file, jet_header::kKeyAt, key);
    ApplyRc4(jet_header::kMaskKey, masked);
    for (std::size_t page = 1; page < file.size() / pageSize; ++page)
        ApplyRc4(jet_header::PageKey(key, page), Bytes(file, page * pageSize, pageSize));
    return file;
}

}  // namespace calvorin::test
