// SPDX-License-Identifier: GPL-3.0-or-later
// The visible form of control characters: every byte that could steer a terminal is shown, nothing else.
#include "platform/text/VisibleControls.h"

#include <gtest/gtest.h>

namespace calvorin {

TEST(VisibleControls, ShowsEveryCharacterThatCouldSteerATerminalAndKeepsTheRest) {
    struct Case {
        std::string in;
        const char* shown;
    } cases[] = {
        {"", ""},
        {"Caffè – ok \\ C:\\x",
         "Caffè – ok \\ C:\\x"},  // printable text, accents and backslashes as they are
        {"500 \x1b]0;PWNED\x07\x1b[2J\x1b[32mProcedura terminata con successo",
         "500 \\x1B]0;PWNED\\x07\\x1B[2J\\x1B[32mProcedura terminata con successo"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"riga\r\nnuova\tcol\x7f", "riga\\x0D\\x0Anuova\\x09col\\x7F"},
        {"\xc2\x9b"
         "2J \xc2\x85",
         "\\u009B2J \\u0085"},  // C1 controls as code points
        {"\xe2\x80\xae"
         "exe.txt\xe2\x80\xa8",
         "\\u202Eexe.txt\\u2028"},  // bidi override, line separator
        {"\x9b"
         "2J \xff \xc3",
         "\\x9B2J \\xFF \\xC3"},                                  // bytes that are not UTF-8
        {"\xc0\x9b \xed\xa0\x80", "\\xC0\\x9B \\xED\\xA0\\x80"},  // overlong form, surrogate
        {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},                 // four-byte character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(VisibleControls(c.in), c.shown);
    }
}

TEST(VisibleControls, KeepsLineFeedsOnlyWhenAsked) {
    EXPECT_EQ(VisibleControls("a\nb\x1b", true), "a\nb\\x1B");
    EXPECT_EQ(VisibleControls("a\nb", false), "a\\x0Ab");
}

}  // namespace calvorin
