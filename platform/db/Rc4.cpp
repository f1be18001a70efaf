// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/Rc4.h"

#include <array>
#include <cstdint>
#include <utility>

namespace calvorin {

void ApplyRc4(std::span<const unsigned char> key, std::span<unsigned char> data) {
    if (key.empty()) return;
    std::array<std::uint8_t, 256> s{};
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        j = static_cast<std::uint8_t>(j + s[i] + key[i % key.size()]);
        std::swap(s[i], s[j]);
    }
    std::uint8_t a = 0, b = 0;
    for (unsigned char& byte : data) {
        a = static_cast<std::uint8_t>(a + 1);
        b = static_cast<std::uint8_t>(b + s[a]);
        std::swap(s[a], s[b]);
        byte ^= s[static_cast<std::uint8_t>(s[a] + s[b])];
    }
}

}  // namespace calvorin
