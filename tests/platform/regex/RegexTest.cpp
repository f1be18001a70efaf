// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/regex/Regex.h"

#include <gtest/gtest.h>

namespace calvorin {

TEST(Regex, NamedAndNumberedGroups) {
    Regex re(R"(^(?'y'\d{4})-(?'m'\d{2})(?:\.(?'s'\d{2}))?$)");
    auto m = re.Search("2019-08");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Group("y"), "2019");
    EXPECT_EQ(m->Group(2), "08");
    EXPECT_FALSE(m->Group("s")) << "an optional group that did not take part is absent";
    EXPECT_EQ(re.Search("2019-08.30")->Group("s"), "30");
    EXPECT_FALSE(re.Search("2019-8"));
}

TEST(Regex, GreedyFirstGroupAndCaseSensitivity) {
    Regex re(R"((.*)-(\d+)-(\d{4})$)");
    auto m = re.Search("Lega-Amici-12-2024");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Group(1), "Lega-Amici");
    EXPECT_EQ(m->Group(2), "12");
    EXPECT_FALSE(Regex("^a$").Search("A"));
    EXPECT_FALSE(Regex("^a$").Search("a\xFF")) << "invalid UTF-8 is no match, not a crash";
    EXPECT_THROW(Regex("("), std::invalid_argument);
}

}  // namespace calvorin
