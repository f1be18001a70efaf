// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers with decimals, as FCM's settings write them.
#include "platform/text/Decimal.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace calvorin {
namespace {

TEST(ParseDecimal, AcceptsCommaAndPointButNothingElse) {
    struct Case {
        std::string_view text;
        std::optional<double> expected;
    };
    const Case cases[] = {{"6,5", 6.5}, {"6.5", 6.5}, {" 7 ", 7.0},  {"+5,25", 5.25}, {"-1", -1.0},
                          {"", {}},     {"sei", {}},  {"6,5,1", {}}, {"6.5x", {}},    {"nan", {}},
                          {"inf", {}},  {"1e3", {}},  {",5", 0.5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseDecimal(c.text), c.expected);
    }
}

TEST(FormatDecimal, RoundsExactHalvesAwayFromZeroAndEverythingElseToNearest) {
    struct Case {
        double value;
        int decimals;
        std::string expected;
    };
    const Case cases[] = {
        // Exactly halfway: away from zero, whatever the digit before.
        {6.3125, 3, "6.313"},
        {6.4375, 3, "6.438"},
        {0.0625, 3, "0.063"},
        {-6.3125, 3, "-6.313"},
        {50.5 / 8, 3, "6.313"},
        {0.125, 2, "0.13"},
        {0.375, 2, "0.38"},
        {2.5, 0, "3"},
        {9.5, 0, "10"},
        {-0.5, 0, "-1"},
        {99.75, 1, "99.8"},
        {-999.5, 0, "-1000"},
        // Not halfway in binary, whatever the decimal text suggests.
        {0.0005, 3, "0.001"},
        {1.0005, 3, "1.000"},
        {6.3124999999999, 3, "6.312"},
        {6.3125000000001, 3, "6.313"},
        // Exact values and plain rounding.
        {6.5, 3, "6.500"},
        {19.0 / 3, 3, "6.333"},
        {-1.25, 3, "-1.250"},
        {0.0, 3, "0.000"},
        {7.0, 0, "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " to " << c.decimals);
        EXPECT_EQ(FormatDecimal(c.value, c.decimals), c.expected);
    }
}

}  // namespace
}  // namespace calvorin
