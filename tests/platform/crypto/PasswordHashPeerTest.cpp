// SPDX-License-Identifier: GPL-3.0-or-later
// Team password hashes against the C library's crypt() and PHP's password_verify (Linux build only).
#include <crypt.h>
#include <gtest/gtest.h>

#include "PasswordText.h"
#include "platform/crypto/CryptoTestHex.h"
#include "platform/crypto/PasswordHash.h"
#include "support/Command.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

// The system's SHA-crypt (libcrypt), the reference for "$5$" texts.
std::string SystemCrypt(const std::string& password, const std::string& salt) {
    crypt_data data{};
    const char* out = crypt_r(password.c_str(), ("$5$" + salt).c_str(), &data);
    return out ? out : "";
}

TEST(PasswordHashLinuxPeer, EqualsTheSystemCryptForTheSameSalt) {
    const std::string passwords[] = {test::PasswordOfLength(0),  test::PasswordOfLength(1),
                                     test::PasswordOfLength(31), test::PasswordOfLength(32),
                                     test::PasswordOfLength(33), test::PasswordOfLength(100),
                                     "Perché è già più caro €"};
    for (const char* salt : {"saltstringsaltst", "ab+/CD12ef34GH56", "short"}) {
        for (const std::string& password : passwords) {
            SCOPED_TRACE(std::string(salt) + " / " + std::to_string(password.size()) + " bytes");
            EXPECT_EQ(HashPasswordWithSalt(password, salt), SystemCrypt(password, salt));
        }
    }
}

// PHP checks our texts as the site's script will: one line per pair, "1" when password_verify agrees.
TEST(PasswordHashLinuxPeer, PhpPasswordVerifyAcceptsOnlyTheRightPassword) {
    if (!test::HaveProgram("php")) GTEST_SKIP() << "php not installed";
    const std::string passwords[] = {"", "a", "Squadra1", "Perché è già più caro €",
                                     test::PasswordOfLength(100)};
    std::string lines;
    std::string expected;
    for (const std::string& password : passwords) {
        std::string hash = HashPassword(password);
        lines += test::ToHex(password) + " " + test::ToHex(hash) + "\n" + test::ToHex(password + "x") + " " +
                 test::ToHex(hash) + "\n";
        expected += "10";
    }
    test::TempDir dir;
    test::WriteBytes(dir / "pairs", lines);
    test::WriteBytes(
        dir / "verify.php",
        "<?php foreach (file($argv[1], FILE_IGNORE_NEW_LINES) as $l) {"
        " [$p, $h] = explode(' ', $l); echo password_verify(hex2bin($p), hex2bin($h)) ? '1' : '0'; }");
    auto result = test::RunCommand(
        "php " + test::ShellQuote(dir / "verify.php") + " " + test::ShellQuote(dir / "pairs"),
        test::Capture::StdoutOnly);
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, expected);
}

}  // namespace
}  // namespace calvorin
