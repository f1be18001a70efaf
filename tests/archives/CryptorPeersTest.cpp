// SPDX-License-Identifier: GPL-3.0-or-later
// TCryptor against Python's independent implementation of the traditional ZIP encryption.
#include <gtest/gtest.h>

#include <string>

#include "ArchiveTestSupport.h"
#include "archives/Cryptor.h"
#include "platform/text/Encoding.h"
#include "support/Command.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

using test::Encrypt;
using test::RunCommand;
using test::ShellQuote;

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

}  // namespace
}  // namespace calvorin
