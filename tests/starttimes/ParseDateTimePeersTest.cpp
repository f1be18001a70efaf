// SPDX-License-Identifier: GPL-3.0-or-later
// The date and time forms read as Python's re reads the regular expressions that define them.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "starttimes/ParseDateTime.h"
#include "starttimes/TestDateTime.h"
#include "support/RegexPeer.h"

namespace calvorin {
namespace {

using test::At;

// Python's re applies the regular expression that defines each form to texts near it: the parser must
// find the same fields in the same texts, and none where there is no match.
TEST(ParseDateTimeTest, AgreesWithTheFormsRegularExpressionOnNearbyTexts) {
    if (!test::HaveProgram("python3")) GTEST_SKIP() << "python3 is not installed";
    struct Form {
        DateTimeForm form;
        const char* pattern;
        std::array<int, 6> group;  // the group of year, month, day, hour, minute, second; -1 for none
        std::vector<std::string> seeds;
    } forms[] = {
        {DateTimeForm::Display,
         R"(^(\d{1,2})/(\d{1,2})/(\d{4}) (\d{1,2}):(\d{1,2})$)",
         {2, 1, 0, 3, 4, -1},
         {"24/08/2019 18:00", "1/9/2019 9:5", "31/12/9999 23:59", "29/02/2020 24:00"}},
        {DateTimeForm::Storage,
         R"(^(\d{4})-(\d{2})-(\d{2}) (\d{2})\.(\d{2})(?:\.(\d{2}))?$)",
         {0, 1, 2, 3, 4, 5},
         {"2019-08-24 18.00", "2019-08-24 18.00.30", "2020-02-29 23.59.59", "2019-08-24 18.60"}},
    };
    const std::vector<std::string> tokens = {"0", "1", "9", "12", "31", "2019", "20190", "/",   "-",
                                             " ", ":", ".", "\n", "x",  "٣",    "５",    "\xFF"};
    const LocalDateTime sentinel = At(2000, 1, 1, 12, 34, 56);
    for (const Form& f : forms) {
        SCOPED_TRACE(f.pattern);
        const std::vector<std::string> texts = test::TextsNear(f.seeds, tokens, 4000);
        const auto matches = test::MatchWithPython(f.pattern, true, texts);
        int matched = 0;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            SCOPED_TRACE(texts[i] + " (" + test::HexOf(texts[i]) + ")");
            LocalDateTime out = sentinel;
            const bool ok = ParseDateTime(texts[i], f.form, out);
            if (!matches[i]) {
                EXPECT_FALSE(ok);
                EXPECT_EQ(out, sentinel);
                continue;
            }
            ++matched;
            int field[6] = {};
            for (int k = 0; k < 6; ++k) {
                const int g = f.group[k];
                field[k] = g < 0 || !(*matches[i])[g] ? 0 : std::stoi(*(*matches[i])[g]);
            }
            const auto date = LocalDateTime::FromDate(field[0], field[1], field[2]);
            const auto full =
                LocalDateTime::FromParts({field[0], field[1], field[2], field[3], field[4], field[5]});
            EXPECT_EQ(ok, full.has_value());
            EXPECT_EQ(out, full ? *full : date ? *date : sentinel);
        }
        EXPECT_GT(matched, 200) << "too few texts of the form to show anything";
    }
}

}  // namespace
}  // namespace calvorin
