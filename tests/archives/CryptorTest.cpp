// SPDX-License-Identifier: GPL-3.0-or-later
// TCryptor against the ZIP application note (section 6.1) and Python's independent implementation.
#include "archives/Cryptor.h"

#include <gtest/gtest.h>

#include <string>

#include "ArchiveTestSupport.h"
#include "platform/text/Encoding.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

using test::RunCommand;
using test::ShellQuote;

std::string Encrypt(std::string_view password, std::string plain) {
    TCryptor cryptor;
    cryptor.InitKeys(password);
    cryptor.EncryptBuffer(reinterpret_cast<std::uint8_t*>(plain.data()), plain.size());
    return plain;
}

TEST(CryptorTest, EmptyPasswordLeavesTheNotesInitialKeys) {
    TCryptor cryptor;
    cryptor.InitKeys("");
    // Application note 6.1.5: "Key(0) <- 305419896, Key(1) <- 591751049, Key(2) <- 878082192".
    EXPECT_EQ(cryptor.CurrentKeys(), (TCryptor::Keys{305419896u, 591751049u, 878082192u}));
}

TEST(CryptorTest, PythonsZipDecrypterRecoversWhatWeEncrypt) {
    if (!test::HaveProgram("python3")) GTEST_SKIP() << "python3 is not installed";
    const std::string plain = test::SampleText(3000) + std::string("\0\xff\x80", 3);
    struct Case {
        const char* password;  // UTF-8
    } cases[] = {{"pw"}, {"a much longer password with spaces 0123456789"}, {"pässwörd€"}};
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password);
        std::string cipher = Encrypt(Utf8ToCp1252(c.password), plain);
        ASSERT_NE(cipher, plain);
        test::WriteBytes(dir / "cipher.bin", cipher);
        auto result = RunCommand(
            "python3 -c 'import sys, zipfile; d = zipfile._ZipDecrypter(sys.argv[1].encode(\"cp1252\")); "
            "sys.stdout.buffer.write(d(open(sys.argv[2], \"rb\").read()))' " +
            ShellQuote(c.password) + " " + ShellQuote((dir / "cipher.bin").string()));
        ASSERT_EQ(result.exitCode, 0) << result.output;
        EXPECT_EQ(result.output, plain);
    }
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
