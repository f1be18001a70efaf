// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/Integer.h"

#include <gtest/gtest.h>

namespace calvorin {

TEST(ParseInteger, AcceptsDecimalAndBothHexForms) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"0", 0},
        {"1", 1},
        {"-5", -5},
        {"+7", 7},
        {"  42", 42},
        {"0x1BB", 443},
        {"$1bb", 443},
        {"0X10", 16},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", {}},
        {"", {}},
        {"true", {}},
        {"yes", {}},
        {"12a", {}},
        {"1 ", {}},
        {"0x", {}},
        {"--1", {}},
        {"$100000000", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseInteger(c.text), c.value);
    }
}

}  // namespace calvorin
