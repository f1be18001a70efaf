// SPDX-License-Identifier: GPL-3.0-or-later
// Little-endian numbers as Jet stores them in its pages.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace calvorin {

// The 4- or 8-byte value at `p`. On a little-endian host the copy is one load: the byte-by-byte form,
// which GCC does not fuse, cost more than cracking the rows.
template <typename T>
T LoadLe(const unsigned char* p) {
    static_assert(sizeof(T) == 4 || sizeof(T) == 8);
    using U = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
    U v = 0;
    if constexpr (std::endian::native == std::endian::little)
        std::memcpy(&v, p, sizeof v);
    else
        for (std::size_t i = sizeof(T); i-- > 0;) v = (v << 8) | p[i];
    return std::bit_cast<T>(v);
}

inline std::uint16_t Le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t Le32(const unsigned char* p) {
    return LoadLe<std::uint32_t>(p);
}

// The 3-byte page number of a moved row's pointer.
inline std::uint32_t Le24(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
}

}  // namespace calvorin
