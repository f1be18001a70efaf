// SPDX-License-Identifier: GPL-3.0-or-later
// Hexadecimal text of byte strings, for writing known-answer vectors.
#pragma once

#include <string>
#include <string_view>

namespace calvorin::test {

inline std::string FromHex(std::string_view hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return out;
}

template <typename Bytes>
std::string ToHex(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (auto b : bytes) {
        auto byte = static_cast<unsigned char>(b);
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0x0F];
    }
    return out;
}

}  // namespace calvorin::test
