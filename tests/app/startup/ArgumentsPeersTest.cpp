// SPDX-License-Identifier: GPL-3.0-or-later
// The league file's name read as Python's re reads the regular expression that defines it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/startup/Arguments.h"
#include "support/RegexPeer.h"

namespace calvorin {

// Python's re applies "(.*)-(\d+)-(\d{4})$" to base names near real ones: the league's name, season and
// year are read exactly where it matches, from its groups.
TEST(ParseArguments, LeagueNameAgreesWithItsRegularExpression) {
    if (!test::HaveProgram("python3")) GTEST_SKIP() << "python3 is not installed";
    const std::vector<std::string> names =
        test::TextsNear({"Lega-Amici-12-2024", "L-1-2020", "x\nL-1-2020", "L-1-2020\n", "Città-3-2023"},
                        {"-", "1", "12", "007", "2024", "20245", "99999999999", "Lega", " ", "\n", "\r", "٣",
                         "５", "à", "\xE0"},
                        4000);
    const auto matches = test::MatchWithPython(R"((.*)-(\d+)-(\d{4})$)", false, names);
    int matched = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i] + " (" + test::HexOf(names[i]) + ")");
        PluginContext context;
        ParseArguments(context, {"/l=/a/b/" + names[i] + ".db"});
        ASSERT_EQ(context.LeagueBaseName, names[i]);
        if (!matches[i]) {
            EXPECT_EQ(context.LeagueName, "");
            EXPECT_EQ(context.SeasonNumber, PluginContext().SeasonNumber);
            EXPECT_EQ(context.SeasonYear, PluginContext().SeasonYear);
            continue;
        }
        ++matched;
        const test::PeerGroups& groups = *matches[i];
        const std::string& season = *groups[1];
        const std::string significant = season.substr(std::min(season.find_first_not_of('0'), season.size()));
        const bool fits =
            significant.size() < 10 || (significant.size() == 10 && significant <= "2147483647");
        EXPECT_EQ(context.LeagueName, *groups[0]);
        EXPECT_EQ(context.SeasonNumber, fits ? std::stoll(season) : 1) << "1 when the season does not fit";
        EXPECT_EQ(context.SeasonYear, std::stoi(*groups[2]));
    }
    EXPECT_GT(matched, 300) << "too few names of the form to show anything";
}

}  // namespace calvorin
