// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/Aes128Cbc.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/crypto/CryptoTestHex.h"

namespace calvorin {
namespace {

template <typename Array>
Array ArrayFromHex(std::string_view hex) {
    Array out{};
    std::string bytes = test::FromHex(hex);
    std::copy(bytes.begin(), bytes.end(), out.begin());
    return out;
}

// NIST SP 800-38A, F.2.1 CBC-AES128.Encrypt.
const auto kKey = ArrayFromHex<Aes128Key>("2b7e151628aed2a6abf7158809cf4f3c");
const auto kIv = ArrayFromHex<Aes128Iv>("000102030405060708090a0b0c0d0e0f");
const std::string kPlain = test::FromHex(
    "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
    "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
const char* const kCipher =
    "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
    "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7";

TEST(Aes128Cbc, MatchesTheNistVectorAndAddsAWholePaddingBlock) {
    std::string cipher = Aes128CbcEncrypt(kKey, kIv, kPlain);
    ASSERT_EQ(cipher.size(), kPlain.size() + 16);
    EXPECT_EQ(test::ToHex(cipher.substr(0, kPlain.size())), kCipher);
    EXPECT_EQ(Aes128CbcDecrypt(kKey, kIv, cipher), kPlain);
}

TEST(Aes128Cbc, EveryLengthRoundTripsWithPkcs7Padding) {
    for (std::size_t n = 0; n <= 33; ++n) {
        SCOPED_TRACE(n);
        std::string plain(n, static_cast<char>('a' + n % 26));
        std::string cipher = Aes128CbcEncrypt(kKey, Aes128Iv{}, plain);
        EXPECT_EQ(cipher.size(), 16 * (n / 16 + 1));
        EXPECT_EQ(Aes128CbcDecrypt(kKey, Aes128Iv{}, cipher), plain);
    }
}

TEST(Aes128Cbc, DecryptRejectsWrongLengthsAndBadPadding) {
    std::string cipher = Aes128CbcEncrypt(kKey, kIv, kPlain);
    EXPECT_THROW(Aes128CbcDecrypt(kKey, kIv, ""), std::runtime_error);
    EXPECT_THROW(Aes128CbcDecrypt(kKey, kIv, cipher.substr(0, 15)), std::runtime_error);
    EXPECT_THROW(Aes128CbcDecrypt(kKey, kIv, cipher.substr(0, 33)), std::runtime_error);
    // Cut after the third block, the plaintext ends in 0xef: no valid padding length.
    EXPECT_THROW(Aes128CbcDecrypt(kKey, kIv, cipher.substr(0, 48)), std::runtime_error);
}

}  // namespace
}  // namespace calvorin
