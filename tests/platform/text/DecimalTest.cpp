// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers with decimals, as FCM's settings write them.
#include "platform/text/Decimal.h"

#include <gtest/gtest.h>

#include <optional>
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

}  // namespace
}  // namespace calvorin
