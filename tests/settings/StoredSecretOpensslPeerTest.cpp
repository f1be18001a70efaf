// SPDX-License-Identifier: GPL-3.0-or-later
// Stored secrets read by the openssl command (Linux build only).
#include <gtest/gtest.h>

#include "plugin/PluginContext.h"
#include "settings/StoredSecret.h"
#include "support/Command.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

// The openssl command derives the key on its own and decrypts our text to UTF-8 plus one 0x00.
TEST(StoredSecretOpensslPeer, OpensslCommandDecryptsTheStoredText) {
    if (!test::HaveProgram("openssl")) GTEST_SKIP() << "openssl command not installed";
    test::TempDir dir;
    test::WriteBytes(dir / "passphrase", kApplicationTitle);
    auto digest = test::RunCommand("openssl dgst -sha256 -r " + test::ShellQuote(dir / "passphrase"),
                                   test::Capture::StdoutOnly);
    ASSERT_EQ(digest.exitCode, 0);
    std::string keyHex = digest.output.substr(0, 32);
    for (std::string value : {"", "Perché è già più caro €", "una password lunga più di un blocco AES"}) {
        SCOPED_TRACE(value);
        test::WriteBytes(dir / "stored", EncryptText(value, kApplicationTitle) + "\n");
        auto plain =
            test::RunCommand("openssl enc -d -aes-128-cbc -K " + keyHex + " -iv " + std::string(32, '0') +
                                 " -base64 -A -in " + test::ShellQuote(dir / "stored"),
                             test::Capture::StdoutOnly);
        ASSERT_EQ(plain.exitCode, 0);
        EXPECT_EQ(plain.output, value + std::string(1, '\0'));
    }
}

}  // namespace
}  // namespace calvorin
