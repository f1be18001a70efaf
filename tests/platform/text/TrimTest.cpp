// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/Trim.h"

#include <gtest/gtest.h>

namespace calvorin {

TEST(Trim, RemovesBlanksAndControlCharactersAtBothEndsOnly) {
    struct Case {
        const char* in;
        const char* trimmed;
        const char* right;
    } cases[] = {
        {"", "", ""},
        {"  a b \t\r\n", "a b", "  a b"},
        {"\x01x\x1f", "x", "\x01x"},
        {"caff\xC3\xA8 ", "caff\xC3\xA8", "caff\xC3\xA8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(Trim(c.in), c.trimmed);
        EXPECT_EQ(TrimRight(c.in), c.right);
    }
}

TEST(Trim, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_TRUE(EqualsIgnoreAsciiCase("Invio Formazione", "invio formazione"));
    EXPECT_FALSE(EqualsIgnoreAsciiCase("Modalit\xC3\xA0", "MODALIT\xC3\x80"));
    EXPECT_EQ(AsciiLower("NAVY \xC3\x80"), "navy \xC3\x80");
}

}  // namespace calvorin
