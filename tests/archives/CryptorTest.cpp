// SPDX-License-Identifier: GPL-3.0-or-later
// TCryptor against the ZIP application note (section 6.1).
#include "archives/Cryptor.h"

#include <gtest/gtest.h>

#include <string>

#include "ArchiveTestSupport.h"

namespace calvorin {
namespace {

using test::Encrypt;

TEST(CryptorTest, EmptyPasswordLeavesTheNotesInitialKeys) {
    TCryptor cryptor;
    cryptor.InitKeys("");
    // Application note 6.1.5: "Key(0) <- 305419896, Key(1) <- 591751049, Key(2) <- 878082192".
    EXPECT_EQ(cryptor.CurrentKeys(), (TCryptor::Keys{305419896u, 591751049u, 878082192u}));
}

TEST(CryptorTest, ByteAndBufferOperationsAgreeAndDecryptInverts) {
    const std::string plain = test::SampleText(257);
    std::string cipher = Encrypt("secret", plain);
    TCryptor byByte;
    byByte.InitKeys("secret");
    std::string decrypted = cipher;
    for (char& c : decrypted) {
        auto byte = static_cast<std::uint8_t>(c);
        byByte.DecryptByte(byte);
        c = static_cast<char>(byte);
    }
    EXPECT_EQ(decrypted, plain);
    TCryptor encryptByByte;
    encryptByByte.InitKeys("secret");
    std::string again = plain;
    for (char& c : again) {
        auto byte = static_cast<std::uint8_t>(c);
        encryptByByte.EncryptByte(byte);
        c = static_cast<char>(byte);
    }
    EXPECT_EQ(again, cipher);
}

}  // namespace
}  // namespace calvorin
