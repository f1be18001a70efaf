// SPDX-License-Identifier: GPL-3.0-or-later
// Team password hashes: known answers and shape, the same on every build.
#include "platform/crypto/PasswordHash.h"

#include <gtest/gtest.h>

#include "PasswordText.h"

namespace calvorin {
namespace {

constexpr std::string_view kCryptAlphabet =
    "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

struct KnownHash {
    std::string password;
    const char* salt;
    const char* hash;
};

// The first is the "$5$saltstring" example of Ulrich Drepper's "Unix crypt using SHA-256 and SHA-512".
// The others come from PHP 8.2's crypt() (its own SHA-crypt code) and agree with Python 3.11's
// crypt.crypt (libxcrypt). The lengths straddle 32, the digest's size, which the scheme repeats and cuts.
const KnownHash kKnownHashes[] = {
    {"Hello world!", "saltstring", "$5$saltstring$5B8vYYiY.CVt1RlTTf8KbXBH3hsxY/GNooZaBBGWEc5"},
    {"", "saltstringsaltst", "$5$saltstringsaltst$fZ6M5HzkVbdG/lB/Id.WJL8Z4MwBAkXlboKmx8NceL8"},
    {"a", "s", "$5$s$qgP3B1D0m82PjqmN9fAYcv/rBMS9t2tLp7NrzhQCCyC"},
    {test::PasswordOfLength(31), "ab+/CD12ef34GH56",
     "$5$ab+/CD12ef34GH56$GbFFeFX38RoBRQLTsJ5aRuBw/lTSLL3mnV7JwZRF7Q8"},
    {test::PasswordOfLength(32), "ab+/CD12ef34GH56",
     "$5$ab+/CD12ef34GH56$OOn1mrNbgEcCu0.9L6V6Pb.7xU9qgBWcBvY2qEl2na5"},
    {test::PasswordOfLength(33), "short", "$5$short$dcYZg/oyqzrRAJ2DIOsbVVts3ewu4cX6Rq8sZnWXL09"},
    {test::PasswordOfLength(100), "saltstringsaltst",
     "$5$saltstringsaltst$CL32/zfDmSmS12FHHjjqtS7OGdKjWe0G8hykqQoech8"},
    {"Perché è già più caro €", "ab+/CD12ef34GH56",
     "$5$ab+/CD12ef34GH56$qHG62nLHiixNJvQ2kOr1Kzdc46qgbJi56RtzvDMXPT6"},
    {"Squadra del cuore 2024", "ab+/CD12ef34GH56",
     "$5$ab+/CD12ef34GH56$/XShPQm8CRjWgmrbJJc5vHh2z0fV77yv1BoJKWCo9.D"},
};

TEST(PasswordHash, KnownAnswersForAFixedSalt) {
    for (const auto& known : kKnownHashes) {
        SCOPED_TRACE(std::string(known.salt) + " / " + std::to_string(known.password.size()) + " bytes");
        EXPECT_EQ(HashPasswordWithSalt(known.password, known.salt), known.hash);
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

}  // namespace
}  // namespace calvorin
