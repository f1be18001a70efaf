// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/Base64.h"

#include <openssl/evp.h>

#include <array>
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
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    int n =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                        reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(n));
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
