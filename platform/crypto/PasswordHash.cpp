// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/PasswordHash.h"

#include <stdexcept>

#include "platform/crypto/Base64.h"
#include "platform/crypto/Random.h"
#include "platform/crypto/Sha256.h"

namespace calvorin {
namespace {

constexpr int kRounds = 5000;
constexpr std::size_t kSaltLength = 16;
constexpr std::string_view kCryptAlphabet =
    "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Byte order of the final digest in the text, fixed by the SHA-crypt scheme.
constexpr int kPermutation[32] = {20, 10, 0,  11, 1, 21, 2, 22, 12, 23, 13, 3,  14, 4, 24, 5,
                                  25, 15, 26, 16, 6, 17, 7, 27, 8,  28, 18, 29, 19, 9, 30, 31};

std::string_view AsText(const Sha256Digest& digest) {
    return {reinterpret_cast<const char*>(digest.data()), digest.size()};
}

// Adds `source` repeated, then cut, to `length` bytes.
void UpdateRepeated(Sha256& sha, std::string_view source, std::size_t length) {
    for (; length >= source.size() && !source.empty(); length -= source.size()) sha.Update(source);
    sha.Update(source.substr(0, length));
}

// The text `length` bytes long made of `digest` repeated (P of the scheme).
std::string Repeat(const Sha256Digest& digest, std::size_t length) {
    std::string out;
    out.reserve(length);
    while (out.size() < length) out.append(AsText(digest).substr(0, length - out.size()));
    return out;
}

Sha256Digest DigestA(Sha256& sha, std::string_view key, std::string_view salt) {
    sha.Update(key);
    sha.Update(salt);
    sha.Update(key);
    Sha256Digest b = sha.Final();
    sha.Update(key);
    sha.Update(salt);
    UpdateRepeated(sha, AsText(b), key.size());
    for (std::size_t bits = key.size(); bits > 0; bits >>= 1) sha.Update((bits & 1) ? AsText(b) : key);
    return sha.Final();
}

// The 5000 rounds; the inputs are prepared so the loop allocates nothing.
Sha256Digest Rounds(Sha256& sha, Sha256Digest c, std::string_view p, std::string_view s) {
    for (int i = 0; i < kRounds; ++i) {
        if (i & 1)
            sha.Update(p);
        else
            sha.Update(c);
        if (i % 3 != 0) sha.Update(s);
        if (i % 7 != 0) sha.Update(p);
        if (i & 1)
            sha.Update(c);
        else
            sha.Update(p);
        sha.Final(c);
    }
    return c;
}

void CheckSalt(std::string_view salt) {
    if (salt.empty() || salt.size() > kSaltLength || salt.find_first_of("$:\r\n") != std::string_view::npos)
        throw std::invalid_argument("Salt non valido per l'hash della password");
}

}  // namespace

std::string HashPasswordWithSalt(std::string_view password, std::string_view salt) {
    CheckSalt(salt);
    Sha256 sha;
    Sha256Digest a = DigestA(sha, password, salt);
    UpdateRepeated(sha, password, password.size() * password.size());
    std::string p = Repeat(sha.Final(), password.size());
    UpdateRepeated(sha, salt, salt.size() * (16 + a[0]));
    std::string s = Repeat(sha.Final(), salt.size());
    Sha256Digest c = Rounds(sha, a, p, s);
    std::string permuted(32, '\0');
    for (int i = 0; i < 32; ++i) permuted[i] = static_cast<char>(c[kPermutation[i]]);
    return "$5$" + std::string(salt) + "$" + CryptBase64(permuted);
}

std::string HashPassword(std::string_view password) {
    return HashPasswordWithSalt(password, Base64Encode(RandomBytes(12)).substr(0, kSaltLength));
}

std::string CryptBase64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() * 8 + 5) / 6);
    std::uint32_t bits = 0;
    int count = 0;
    for (unsigned char byte : bytes) {
        bits |= static_cast<std::uint32_t>(byte) << count;
        for (count += 8; count >= 6; count -= 6, bits >>= 6) out += kCryptAlphabet[bits & 0x3F];
    }
    if (count > 0) out += kCryptAlphabet[bits & 0x3F];
    return out;
}

}  // namespace calvorin
