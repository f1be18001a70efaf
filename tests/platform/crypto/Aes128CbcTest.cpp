// SPDX-License-Identifier: GPL-3.0-or-later
// AES-128-CBC known answers and padding checks, the same on every build (OpenSSL on Linux, CNG on Windows).
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

// NIST SP 800-38A, F.2.1 CBC-AES128.Encrypt and F.2.2 CBC-AES128.Decrypt: key, IV, four plaintext blocks
// and their ciphertext.
const auto kKey = ArrayFromHex<Aes128Key>("2b7e151628aed2a6abf7158809cf4f3c");
const auto kIv = ArrayFromHex<Aes128Iv>("000102030405060708090a0b0c0d0e0f");
const std::string kPlain = test::FromHex(
    "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
    "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
const char* const kNistCipher =
    "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
    "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7";

struct Padded {
    std::size_t plainBytes;  // the first bytes of kPlain
    const char* cipher;
};

// The NIST key, IV and plaintext prefixes padded with PKCS#7, from
// `openssl enc -aes-128-cbc -K 2b7e1516... -iv 00010203...` (OpenSSL 3.0). The 64-byte case is the NIST
// ciphertext followed by one whole block of padding.
const Padded kPadded[] = {
    {0, "c84af0b613435d5d9182801a9bd9320b"},
    {1, "2a7a633fad54e2146edcef80c59eebc6"},
    {15, "9be1e579d107a136c031b645a88da750"},
    {16, "7649abac8119b246cee98e9b12e9197d8964e0b149c10b7b682e6e39aaeb731c"},
    {17, "7649abac8119b246cee98e9b12e9197d34d2d260173113008c28112c77668c86"},
    {31, "7649abac8119b246cee98e9b12e9197dcb856aebf22b76e1bb917d2fe54848cb"},
    {32, "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b255e21d7100b988ffec32feeafaf23538"},
    {63,
     "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b273bed6b8e3c1743b7116e69e22229516"
     "1834a192989ffc448fa513cba8976645"},
    {64,
     "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b273bed6b8e3c1743b7116e69e22229516"
     "3ff1caa1681fac09120eca307586e1a78cb82807230e1321d3fae00d18cc2012"},
};

TEST(Aes128Cbc, PaddedKnownAnswersBothWays) {
    for (const auto& [plainBytes, cipher] : kPadded) {
        SCOPED_TRACE(plainBytes);
        std::string plain = kPlain.substr(0, plainBytes);
        EXPECT_EQ(test::ToHex(Aes128CbcEncrypt(kKey, kIv, plain)), cipher);
        EXPECT_EQ(Aes128CbcDecrypt(kKey, kIv, test::FromHex(cipher)), plain);
    }
    EXPECT_EQ(std::string(kPadded[8].cipher).substr(0, 128), kNistCipher);
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

struct Decryption {
    const char* what;
    std::string cipher;
    const char* plainHex;  // nullptr: refused for its padding
};

constexpr const char* kBadLength =
    "Decifratura AES: la lunghezza del testo cifrato non è un multiplo positivo di 16 byte";
constexpr const char* kBadPadding = "Decifratura AES: riempimento PKCS#7 non valido";

// Ciphertexts of chosen last blocks (0x41 filler, then the bytes named) under the NIST key and IV, made
// with `openssl enc -aes-128-cbc -nopad`;
// the outcome is what `openssl enc -d -aes-128-cbc` (padding checked) gives for them. The cut NIST
// ciphertexts end in plaintext bytes 0x2a, 0x51, 0xef and 0x10 preceded by other values.
const Decryption kDecryptions[] = {
    {"only padding", test::FromHex("c84af0b613435d5d9182801a9bd9320b"), ""},
    {"three bytes of padding", test::FromHex("4b395d22aebb9db2688f17a6d3df68ab"),
     "41414141414141414141414141"},
    {"one byte of padding after a block",
     test::FromHex("7649abac8119b246cee98e9b12e9197d92ecfbcfc63cdac731bbe2ebf0445d15"),
     "6bc1bee22e409f96e93d7e117393172a414141414141414141414141414141"},
    {"last byte 0x00", test::FromHex("eb593b41c96ffe158076a92d64c0c365"), nullptr},
    {"last byte 0x11", test::FromHex("cf7827403708b0b521a0a8b5b1dc2ba7"), nullptr},
    {"last byte 0x10 after other bytes", test::FromHex("c6c4e3d1dd60476263dbf33099acbe29"), nullptr},
    {"03 02 03 at the end", test::FromHex("8586dba41a403414db2eb5d9a8454687"), nullptr},
    {"02 at the end after a block",
     test::FromHex("7649abac8119b246cee98e9b12e9197d0f7b06fbf1a3ea86af6e51cf75aefa9f"), nullptr},
    {"NIST cut after one block", test::FromHex(kNistCipher).substr(0, 16), nullptr},
    {"NIST cut after two blocks", test::FromHex(kNistCipher).substr(0, 32), nullptr},
    {"NIST cut after three blocks", test::FromHex(kNistCipher).substr(0, 48), nullptr},
    {"NIST whole, unpadded", test::FromHex(kNistCipher), nullptr},
};

TEST(Aes128Cbc, DecryptChecksEveryPaddingByte) {
    for (const auto& d : kDecryptions) {
        SCOPED_TRACE(d.what);
        if (d.plainHex) {
            EXPECT_EQ(test::ToHex(Aes128CbcDecrypt(kKey, kIv, d.cipher)), d.plainHex);
            continue;
        }
        try {
            Aes128CbcDecrypt(kKey, kIv, d.cipher);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), kBadPadding);
        }
    }
}

TEST(Aes128Cbc, DecryptRefusesLengthsThatAreNotWholeBlocks) {
    std::string cipher = test::FromHex(kPadded[8].cipher);
    for (std::size_t length : {0, 1, 15, 17, 33, 79}) {
        SCOPED_TRACE(length);
        try {
            Aes128CbcDecrypt(kKey, kIv, cipher.substr(0, length));
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), kBadLength);
        }
    }
}

}  // namespace
}  // namespace calvorin
