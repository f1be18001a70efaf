// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/PasswordHash.h"

#include <crypt.h>
#include <gtest/gtest.h>

#include <sstream>

#include "support/Command.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

constexpr std::string_view kCryptAlphabet =
    "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// The system's SHA-crypt (libcrypt), the reference for "$5$" texts.
std::string SystemCrypt(const std::string& password, const std::string& salt) {
    crypt_data data{};
    const char* out = crypt_r(password.c_str(), ("$5$" + salt).c_str(), &data);
    return out ? out : "";
}

std::string Repeated(std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += static_cast<char>('!' + i % 90);
    return out;
}

TEST(PasswordHash, EqualsTheSystemCryptForTheSameSalt) {
    const std::string passwords[] = {Repeated(0),
                                     Repeated(1),
                                     Repeated(31),
                                     Repeated(32),
                                     Repeated(33),
                                     Repeated(100),
                                     "Perché è già più caro €"};
    for (const char* salt : {"saltstringsaltst", "ab+/CD12ef34GH56", "short"}) {
        for (const std::string& password : passwords) {
            SCOPED_TRACE(std::string(salt) + " / " + std::to_string(password.size()) + " bytes");
            EXPECT_EQ(HashPasswordWithSalt(password, salt), SystemCrypt(password, salt));
        }
    }
}

TEST(PasswordHash, ResultHasTheFixedShape) {
    std::string first = HashPassword("segreto");
    for (int i = 0; i < 20; ++i) {
        std::string hash = HashPassword("segreto");
        SCOPED_TRACE(hash);
        ASSERT_EQ(hash.size(), 63u);
        EXPECT_TRUE(hash.starts_with("$5$"));
        EXPECT_EQ(hash[19], '$');
        std::string salt = hash.substr(3, 16);
        EXPECT_EQ(salt.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"),
                  std::string::npos);
        EXPECT_EQ(hash.substr(20).find_first_not_of(kCryptAlphabet), std::string::npos);
        EXPECT_NE(hash, first) << "every call draws a new salt";
    }
}

TEST(PasswordHash, InvalidSaltIsRefused) {
    for (const char* salt : {"", "seventeen_chars_x", "ab$cd", "ab:cd"}) {
        SCOPED_TRACE(salt);
        EXPECT_THROW(HashPasswordWithSalt("x", salt), std::invalid_argument);
    }
}

TEST(PasswordHash, CryptBase64ReadsBitsFromTheLeastSignificant) {
    const std::pair<std::string, const char*> cases[] = {
        {"", ""},
        {std::string(1, '\0'), ".."},
        {"\xFF", "z1"},                            // 63, then the 2 remaining bits: 3
        {std::string("\x01\x00\x00", 3), "/..."},  // the first bit read is the lowest of the first character
        {std::string("\x00\x00\x80", 3), "...U"},  // the last bit read is the highest of the last one (32)
    };
    for (const auto& [bytes, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(CryptBase64(bytes), text);
    }
}

std::string Hex(std::string_view bytes) {
    std::ostringstream out;
    for (unsigned char c : bytes) out << "0123456789abcdef"[c >> 4] << "0123456789abcdef"[c & 15];
    return out.str();
}

// PHP checks our texts as the site's script will: one line per pair, "1" when password_verify agrees.
TEST(PasswordHash, PhpPasswordVerifyAcceptsOnlyTheRightPassword) {
    if (!test::HaveProgram("php")) GTEST_SKIP() << "php not installed";
    const std::string passwords[] = {"", "a", "Squadra1", "Perché è già più caro €", Repeated(100)};
    std::string lines;
    std::string expected;
    for (const std::string& password : passwords) {
        std::string hash = HashPassword(password);
        lines += Hex(password) + " " + Hex(hash) + "\n" + Hex(password + "x") + " " + Hex(hash) + "\n";
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
