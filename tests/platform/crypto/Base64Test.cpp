// SPDX-License-Identifier: GPL-3.0-or-later
// Base64 known answers and the strict decoder's refusals.
#include "platform/crypto/Base64.h"

#include <gtest/gtest.h>

#include "platform/crypto/CryptoTestHex.h"

namespace calvorin {
namespace {

// RFC 4648, section 10.
const std::pair<const char*, const char*> kVectors[] = {
    {"", ""},
    {"f", "Zg=="},
    {"fo", "Zm8="},
    {"foo", "Zm9v"},
    {"foob", "Zm9vYg=="},
    {"fooba", "Zm9vYmE="},
    {"foobar", "Zm9vYmFy"},
};

TEST(Base64, RfcVectorsBothWays) {
    for (const auto& [bytes, text] : kVectors) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(Base64Encode(bytes), text);
        EXPECT_EQ(Base64Decode(text), bytes);
    }
}

// Bytes with the high bit set (a signed char on both builds) and the last two letters of the alphabet;
// the texts are Python's base64.b64encode.
TEST(Base64, HighBytesAndTheLastLettersOfTheAlphabet) {
    const std::pair<const char*, const char*> cases[] = {
        {"00", "AA=="},     {"ff", "/w=="},           {"fbff", "+/8="},
        {"fffefd", "//79"}, {"80007f3e", "gAB/Pg=="}, {"fbefbe", "++++"},
    };
    for (const auto& [hex, text] : cases) {
        SCOPED_TRACE(hex);
        EXPECT_EQ(Base64Encode(test::FromHex(hex)), text);
        EXPECT_EQ(test::ToHex(Base64Decode(text)), hex);
    }
}

TEST(Base64, EveryByteValueRoundTripsWithoutLineBreaks) {
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    all += all;
    std::string text = Base64Encode(all);
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(Base64Decode(text), all);
}

TEST(Base64, StrictDecodeRejectsMalformedText) {
    const char* bad[] = {
        "Zm9",       // length not a multiple of 4
        "Zm9v\n",    // line break
        " Zm9v",     // blank
        "Zm9*",      // outside the alphabet
        "Zm9-",      // URL-safe alphabet
        "Zm=v",      // padding inside
        "Z===",      // three padding characters
        "====",      // padding only
        "Zg==Zm9v",  // padding before the end
        "Zm9v====",  // padding after a full group
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        EXPECT_THROW(Base64Decode(text), std::invalid_argument);
    }
}

}  // namespace
}  // namespace calvorin
