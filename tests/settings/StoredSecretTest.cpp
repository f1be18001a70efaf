// SPDX-License-Identifier: GPL-3.0-or-later
// Stored secrets: known texts, round trips, damaged texts; the same on every build.
#include "settings/StoredSecret.h"

#include <gtest/gtest.h>

#include "platform/crypto/Base64.h"
#include "plugin/PluginContext.h"

namespace calvorin {
namespace {

constexpr const char* kSection = "Invio formazione";
constexpr const char* kKey = "Password SMTP";

struct KnownText {
    const char* passphrase;
    const char* value;
    const char* stored;
};

// Made by the openssl command alone, as docs/secrets.md shows: the key is the first 16 bytes of
// `openssl dgst -sha256` over the passphrase, then `printf '%s\0' <value> | openssl enc -aes-128-cbc -K <key>
// -iv 000... -base64 -A`. A text stored by one build reads back on the other, and both write it alike.
const KnownText kKnownTexts[] = {
    {kApplicationTitle, "", "tDfkaqnngze95rcvQfKPhA=="},
    {kApplicationTitle, "segreto", "yCh3siXlgQLu/l8jOOFbqA=="},
    {kApplicationTitle, "Perché è già più caro €", "hOWvmcjMRA4A3bd6LkQpjAQDb3PGADq3Z/NQHnS+Vpg="},
    {kApplicationTitle, "una password lunga più di un blocco AES",
     "oIKHIMG86cbkI8CaZRikZjPi7AGfGYstvJtQHJp4H6znEZzbwlQl0D+fayYBvdjR"},
    {"Altra frase", "smtp-pass", "sJh027qM35w8cu5mWaQmgg=="},
};

TEST(StoredSecret, KnownTextsBothWays) {
    for (const auto& known : kKnownTexts) {
        SCOPED_TRACE(known.value);
        EXPECT_EQ(EncryptText(known.value, known.passphrase), known.stored);
        EXPECT_EQ(DecryptText(known.stored, known.passphrase), known.value);
    }
}

// Texts another writer could leave, made as above: bytes after the first 0x00 ("abc", 0x00, "dopo lo
// zero") and Latin-1 instead of UTF-8 ("caf", 0xE9, 0x00).
TEST(StoredSecret, ReadingStopsAtTheFirstZeroAndRepairsBrokenUtf8) {
    EXPECT_EQ(DecryptText("/q71/B6qavgnsqXL7s5dcrwt/HeEAw509izDCNY/lCE=", kApplicationTitle), "abc");
    EXPECT_EQ(DecryptText("qFOlBb2UdQjTR8Az82kE1w==", kApplicationTitle), "caf�");
}

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

}  // namespace
}  // namespace calvorin
