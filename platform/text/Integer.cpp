// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/Integer.h"

#include <charconv>

namespace calvorin {

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with("$")) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
    std::uint64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (base == 16) {
        if (value > 0xFFFFFFFFull) return std::nullopt;
        auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        return negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(bits)) : bits;
    }
    if (value > (negative ? 2147483648ull : 2147483647ull)) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value)
                                              : static_cast<std::int64_t>(value));
}

}  // namespace calvorin
