// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/StoredSecret.h"

#include <gtest/gtest.h>

#include "platform/crypto/Base64.h"
#include "plugin/PluginContext.h"
#include "support/Command.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

constexpr const char* kSection = "Invio formazione";
constexpr const char* kKey = "Password SMTP";

TEST(StoredSecret, LengthFollowsTheValueLengthInBlocks) {
    const std::pair<std::size_t, std::size_t> cases[] = {{0, 24},  {14, 24}, {15, 44},
                                                         {30, 44}, {31, 64}, {46, 64}};
    for (auto [valueBytes, storedChars] : cases) {
        SCOPED_TRACE(valueBytes);
        std::string stored = EncryptText(std::string(valueBytes, 'k'), kApplicationTitle);
        EXPECT_EQ(stored.size(), storedChars);
        EXPECT_EQ(
            stored.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
            std::string::npos);
    }
}

TEST(StoredSecret, SameValueGivesSameTextAndOthersDiffer) {
    EXPECT_EQ(EncryptText("segreto", kApplicationTitle), EncryptText("segreto", kApplicationTitle));
    EXPECT_NE(EncryptText("segreto", kApplicationTitle), EncryptText("segreta", kApplicationTitle));
    EXPECT_NE(EncryptText("segreto", kApplicationTitle), EncryptText("segreto", "Altro"));
}

TEST(StoredSecret, ValuesRoundTripThroughTheSettingsFile) {
    const char* values[] = {"",           "a",         "password con spazi", "Perché è già più caro €",
                            "key:secret", "🙂 emoji"};
    for (const char* value : values) {
        SCOPED_TRACE(value);
        IniFile ini;
        WriteSecret(ini, kSection, kKey, value);
        IniFile reread = IniFile::Parse(ini.Serialize());
        EXPECT_EQ(ReadSecret(reread, kSection, kKey, "default"), value);
    }
}

TEST(StoredSecret, EmptyPassphraseIsRejected) {
    for (auto call : {+[] { EncryptText("x", ""); }, +[] { DecryptText("AAAAAAAAAAAAAAAAAAAAAA==", ""); }}) {
        try {
            call();
            ADD_FAILURE() << "expected an error";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Password cannot be empty");
        }
    }
}

TEST(StoredSecret, DamagedOrEmptyTextsReadAsTheDefaultWithoutAnError) {
    std::string good = EncryptText("valore di prova", kApplicationTitle);  // 44 characters
    std::string foreign = good;
    foreign[5] = '*';
    const std::string damaged[] = {
        foreign,                               // a character outside the alphabet
        good.substr(0, good.size() - 4),       // last four characters cut
        Base64Encode(std::string(24, 'x')),    // 24 bytes: not a whole number of blocks
        EncryptText("valore", "Altra frase"),  // another key: the padding check fails
        "",                                    // present but empty
    };
    for (const std::string& stored : damaged) {
        SCOPED_TRACE(stored);
        IniFile ini;
        ini.WriteString(kSection, kKey, stored);
        EXPECT_THROW(DecryptText(stored, kApplicationTitle), std::exception);
        EXPECT_EQ(ReadSecret(ini, kSection, kKey, "default"), "default");
    }
}

TEST(StoredSecret, MissingKeyReadsAsTheDefault) {
    IniFile ini;
    ini.WriteString(kSection, "Altro", EncryptText("x", kApplicationTitle));
    EXPECT_EQ(ReadSecret(ini, kSection, kKey, "default"), "default");
    EXPECT_EQ(ReadSecret(ini, "Backup", "Altro", ""), "");
}

TEST(StoredSecret, StoredValueIsTrimmedBeforeDecryption) {
    IniFile ini;
    ini.WriteString(kSection, kKey, "\t " + EncryptText("abc", kApplicationTitle) + "  ");
    EXPECT_EQ(ReadSecret(ini, kSection, kKey, "default"), "abc");
}

// The openssl command derives the key on its own and decrypts our text to UTF-8 plus one 0x00.
TEST(StoredSecret, OpensslCommandDecryptsTheStoredText) {
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
