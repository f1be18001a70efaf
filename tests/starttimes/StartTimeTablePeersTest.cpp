// SPDX-License-Identifier: GPL-3.0-or-later
// The matchday keys of the settings file read as Python's re reads their regular expression.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "starttimes/StartTimeTable.h"
#include "support/RegexPeer.h"

namespace calvorin {
namespace {

// Python's re applies "^(\d*)a$" to keys near the real ones; a matchday is read exactly where it matches
// with digits that make 1 to 38.
TEST(StartTimeTableTest, MatchdayKeysAgreeWithTheirRegularExpression) {
    if (!test::HaveProgram("python3")) GTEST_SKIP() << "python3 is not installed";
    const std::vector<std::string> texts =
        test::TextsNear({"1a", "01a", "38a", "39a", "a"},
                        {"0", "1", "3", "8", "9", "38", "a", "A", " ", "\n", "+", "١", "１"}, 3000);
    const auto matches = test::MatchWithPython(R"(^(\d*)a$)", true, texts);
    int read = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(texts[i] + " (" + test::HexOf(texts[i]) + ")");
        std::optional<int> expected;
        if (matches[i]) {
            const std::string digits = *(*matches[i])[0];
            const std::size_t first = digits.find_first_not_of('0');
            const std::string significant = first == std::string::npos ? "" : digits.substr(first);
            if (!significant.empty() && significant.size() <= 2 && std::stoi(significant) <= kMatchdays)
                expected = std::stoi(significant);
        }
        EXPECT_EQ(MatchdayOfKey(texts[i]), expected);
        read += expected.has_value();
    }
    EXPECT_GT(read, 100) << "too few keys of a matchday to show anything";
}

}  // namespace
}  // namespace calvorin
