// SPDX-License-Identifier: GPL-3.0-or-later
#include "archives/Cryptor.h"

namespace calvorin {
namespace {

// The standard CRC-32 table (reflected polynomial 0xEDB88320) that the key update is built on.
constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr auto kCrcTable = MakeCrcTable();

constexpr std::uint32_t CrcStep(std::uint32_t crc, std::uint8_t byte) {
    return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

// Works on a local copy of the keys so that the loops over buffers keep them in registers.
struct KeyState {
    std::uint32_t k0, k1, k2;

    std::uint8_t StreamByte() const {
        std::uint32_t temp = (k2 | 2) & 0xFFFF;
        return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
    }
    void Update(std::uint8_t plain) {
        k0 = CrcStep(k0, plain);
        k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
        k2 = CrcStep(k2, static_cast<std::uint8_t>(k1 >> 24));
    }
};

KeyState Load(const TCryptor::Keys& keys) {
    return {keys[0], keys[1], keys[2]};
}
void Store(const KeyState& state, TCryptor::Keys& keys) {
    keys = {state.k0, state.k1, state.k2};
}

}  // namespace

void TCryptor::InitKeys(std::string_view password) {
    KeyState state{0x12345678u, 0x23456789u, 0x34567890u};
    for (char c : password) state.Update(static_cast<std::uint8_t>(c));
    Store(state, keys_);
}

void TCryptor::EncryptByte(std::uint8_t& value) {
    EncryptBuffer(&value, 1);
}

void TCryptor::DecryptByte(std::uint8_t& value) {
    DecryptBuffer(&value, 1);
}

void TCryptor::EncryptBuffer(std::uint8_t* data, std::size_t size) {
    KeyState state = Load(keys_);
    for (std::size_t i = 0; i < size; ++i) {
        std::uint8_t plain = data[i];
        data[i] = plain ^ state.StreamByte();
        state.Update(plain);
    }
    Store(state, keys_);
}

void TCryptor::DecryptBuffer(std::uint8_t* data, std::size_t size) {
    KeyState state = Load(keys_);
    for (std::size_t i = 0; i < size; ++i) {
        data[i] ^= state.StreamByte();
        state.Update(data[i]);
    }
    Store(state, keys_);
}

}  // namespace calvorin
