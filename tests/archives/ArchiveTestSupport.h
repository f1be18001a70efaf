// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the archive tests: reading ZIP fields and making sample data.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "support/Command.h"

namespace calvorin::test {

inline std::uint16_t Le16At(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

inline std::uint32_t Le32At(std::string_view bytes, std::size_t at) {
    return Le16At(bytes, at) | (static_cast<std::uint32_t>(Le16At(bytes, at + 2)) << 16);
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
