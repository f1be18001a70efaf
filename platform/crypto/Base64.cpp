// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/Base64.h"

#include <array>
#include <cstdint>
#include <stdexcept>

namespace calvorin {
namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kInvalid = -1;

constexpr std::array<int, 256> MakeDecodeTable() {
    std::array<int, 256> table{};
    table.fill(kInvalid);
    for (std::size_t i = 0; i < kAlphabet.size(); ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = int(i);
    return table;
}
constexpr std::array<int, 256> kDecode = MakeDecodeTable();

[[noreturn]] void Reject(const char* why) {
    throw std::invalid_argument(std::string("Testo Base64 non valido: ") + why);
}

std::size_t PaddingLength(std::string_view text) {
    if (text.size() % 4 != 0) Reject("lunghezza errata");
    std::size_t padding = 0;
    while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') ++padding;
    return padding;
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve(4 * ((bytes.size() + 2) / 3));
    auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
    };
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        std::uint32_t group = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
        for (int shift = 18; shift >= 0; shift -= 6) out += kAlphabet[(group >> shift) & 0x3F];
    }
    // One or two bytes left: two or three digits, then "=" up to four.
    if (std::size_t left = bytes.size() - i; left > 0) {
        std::uint32_t group = byte(i) << 16 | (left == 2 ? byte(i + 1) << 8 : 0);
        out += kAlphabet[group >> 18];
        out += kAlphabet[(group >> 12) & 0x3F];
        out += left == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=';
        out += '=';
    }
    return out;
}

std::string Base64Decode(std::string_view text) {
    std::size_t padding = PaddingLength(text);
    std::string_view digits = text.substr(0, text.size() - padding);
    std::string out;
    out.reserve(digits.size() * 3 / 4);
    std::uint32_t bits = 0;
    int count = 0;
    for (char c : digits) {
        int value = kDecode[static_cast<unsigned char>(c)];
        if (value == kInvalid) Reject(c == '=' ? "\"=\" fuori posto" : "carattere non ammesso");
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        if ((count += 6) >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

}  // namespace calvorin
