// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/crypto/RandomHex.h"

#include <gtest/gtest.h>

namespace calvorin {
namespace {

TEST(RandomHex, GivesLowerCaseHexDigitsOfTheAskedLength) {
    std::string first = RandomHex(8);
    std::string second = RandomHex(8);
    for (const std::string& token : {first, second}) {
        EXPECT_EQ(token.size(), 8u);
        EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos) << token;
    }
    EXPECT_NE(first, second);
    EXPECT_EQ(RandomHex(0), "");
    EXPECT_EQ(RandomHex(32).size(), 32u);
}

TEST(RandomHex, OddLengthIsRefused) {
    EXPECT_THROW(RandomHex(7), std::invalid_argument);
}

}  // namespace
}  // namespace calvorin
