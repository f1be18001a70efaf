// SPDX-License-Identifier: GPL-3.0-or-later
// What the raw deflate and inflate streams share: their window bits, zlib's message, checked buffer sizes.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <limits>
#include <stdexcept>
#include <string>

namespace calvorin {

// A raw stream: no zlib header or trailer, as ZIP method 8 stores it.
inline constexpr int kRawWindowBits = -15;

// zlib's message for a failed call, or its code when zlib left none.
inline std::string ZlibMessage(const z_stream& z, int code) {
    return z.msg ? z.msg : "zlib error " + std::to_string(code);
}

// zlib counts in 32-bit units; callers pass buffers far smaller than that. Throws std::length_error for a
// larger one.
inline uInt ZlibSize(std::size_t size) {
    if (size > std::numeric_limits<uInt>::max()) throw std::length_error("zlib buffer too large");
    return static_cast<uInt>(size);
}

}  // namespace calvorin
