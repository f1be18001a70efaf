// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the archive tests: reading ZIP fields, making sample data, encrypting it.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "archives/Cryptor.h"

namespace calvorin::test {

inline std::uint16_t Le16At(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

inline std::uint32_t Le32At(std::string_view bytes, std::size_t at) {
    return Le16At(bytes, at) | (static_cast<std::uint32_t>(Le16At(bytes, at + 2)) << 16);
}

// Raw deflate at the default level, computed here straight through zlib: the stream to compare with.
inline std::string Deflated(std::string_view data) {
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, data.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// The bytes encrypted with the traditional ZIP cipher under the password (its Windows-1252 bytes).
inline std::string Encrypt(std::string_view password, std::string plain) {
    TCryptor cryptor;
    cryptor.InitKeys(password);
    cryptor.EncryptBuffer(reinterpret_cast<std::uint8_t*>(plain.data()), plain.size());
    return plain;
}

// A deterministic, moderately compressible text of `size` bytes.
inline std::string SampleText(std::size_t size, unsigned seed = 1) {
    std::string out;
    out.reserve(size);
    std::uint32_t state = seed;
    while (out.size() < size) {
        state = state * 1664525u + 1013904223u;
        out += "riga " + std::to_string(state % 1000) + " giocatore;";
    }
    out.resize(size);
    return out;
}

}  // namespace calvorin::test
