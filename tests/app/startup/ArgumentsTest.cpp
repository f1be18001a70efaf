// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup/Arguments.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace calvorin {

struct ArgumentsCase {
    const char* name;
    std::vector<std::string> arguments;
    bool valid;
    const char* leagueFile;
    const char* baseName;
    const char* leagueName;
    int seasonNumber;
    int seasonYear;
    const char* fcmFolder;
    const char* siteFolder;
    bool extended;
};

TEST(ParseArguments, TableOfCommandLines) {
    // clang-format off
    const ArgumentsCase cases[] = {
        // name, arguments, valid, LeagueFile, LeagueBaseName, LeagueName, SeasonNumber, SeasonYear, FcmFolder,
        // SiteFolder, Extended
        {"windows paths", {R"(/l=C:\FCM\Leghe\Fantalega-3-2023.mdb)", "/s=x", R"(/c=C:\Sito)"}, true,
         R"(C:\FCM\Leghe\Fantalega-3-2023.mdb)", "Fantalega-3-2023", "Fantalega", 3, 2023, R"(C:\FCM)", R"(C:\Sito)", false},
        {"capital names, order free, /extended", {"/C=/srv/sito", "/extended", "/S=x", "/L=/home/p/FCM/Leghe/Lega-1-2025.db"},
         true, "/home/p/FCM/Leghe/Lega-1-2025.db", "Lega-1-2025", "Lega", 1, 2025, "/home/p/FCM", "/srv/sito", true},
        {"greedy first group", {"/l=/f/L/Lega-Amici-12-2024.mdb", "/s=x", "/c=s"}, true,
         "/f/L/Lega-Amici-12-2024.mdb", "Lega-Amici-12-2024", "Lega-Amici", 12, 2024, "/f", "s", false},
        {"no season number", {"/l=C:\\F\\L\\Fantalega-2023.mdb", "/s=x", "/c=s"}, false,
         "C:\\F\\L\\Fantalega-2023.mdb", "Fantalega-2023", "", 0, 0, "C:\\F", "s", false},
        {"ignored forms", {"l=/a/b/L-1-2020.db", "-l=/a/b/L-1-2020.db", "/=x", "", "  ", "/s=x", "/c=s"}, false,
         "", "", "", 0, 0, "", "s", false},
        {"/l without equals", {"/l", "/s=x", "/c=s"}, false, "", "", "", 0, 0, "", "s", false},
        {"missing s", {"/l=/a/b/L-1-2020.db", "/c=s"}, false,
         "/a/b/L-1-2020.db", "L-1-2020", "L", 1, 2020, "/a", "s", false},
        {"blanks and control characters trimmed", {"  /l=/a/b/L-1-2020.db\t", "\x01/s=x", "/c= s "}, true,
         "/a/b/L-1-2020.db", "L-1-2020", "L", 1, 2020, "/a", " s", false},
        {"season number too large", {"/l=/a/b/L-99999999999-2020.db", "/s=x", "/c=s"}, true,
         "/a/b/L-99999999999-2020.db", "L-99999999999-2020", "L", 1, 2020, "/a", "s", false},
        {"last l wins, unmatched keeps the names", {"/l=/a/b/Prima-4-2021.db", "/l=/x/y/z/altro.db", "/s=x", "/c=s"}, true,
         "/x/y/z/altro.db", "altro", "Prima", 4, 2021, "/x/y", "s", false},
        {"league in the root", {"/l=/L-1-2020.db", "/s=x", "/c=s"}, true,
         "/L-1-2020.db", "L-1-2020", "L", 1, 2020, "/", "s", false},
        {"drive root", {"/l=C:\\L-1-2020.mdb", "/s=x", "/c=s"}, true,
         "C:\\L-1-2020.mdb", "L-1-2020", "L", 1, 2020, "C:\\", "s", false},
        {"name without dot stays whole", {"/l=/a/b/L-1-2020", "/s=x", "/c=s"}, true,
         "/a/b/L-1-2020", "L-1-2020", "L", 1, 2020, "/a", "s", false},
        {"value after the first equals", {"/l=/a/b/L-1-2020.db", "/s=a=b", "/c=s", "/unknown=1"}, true,
         "/a/b/L-1-2020.db", "L-1-2020", "L", 1, 2020, "/a", "s", false},
        // The corners of name-season-year.
        {"name holds a dash and digits", {"/l=/a/b/L-1-2-2020.db", "/s=x", "/c=s"}, true,
         "/a/b/L-1-2-2020.db", "L-1-2-2020", "L-1", 2, 2020, "/a", "s", false},
        {"leading zeros", {"/l=/a/b/L-007-0999.db", "/s=x", "/c=s"}, true,
         "/a/b/L-007-0999.db", "L-007-0999", "L", 7, 999, "/a", "s", false},
        {"empty name matches but is no league", {"/l=/a/b/-1-2020.db", "/s=x", "/c=s"}, false,
         "/a/b/-1-2020.db", "-1-2020", "", 1, 2020, "/a", "s", false},
        {"empty season", {"/l=/a/b/L--2020.db", "/s=x", "/c=s"}, false,
         "/a/b/L--2020.db", "L--2020", "", 0, 0, "/a", "s", false},
        {"five-digit year", {"/l=/a/b/L-1-20201.db", "/s=x", "/c=s"}, false,
         "/a/b/L-1-20201.db", "L-1-20201", "", 0, 0, "/a", "s", false},
        {"three-digit year", {"/l=/a/b/L-1-202.db", "/s=x", "/c=s"}, false,
         "/a/b/L-1-202.db", "L-1-202", "", 0, 0, "/a", "s", false},
        {"text after the year", {"/l=/a/b/L-1-2020 bis.db", "/s=x", "/c=s"}, false,
         "/a/b/L-1-2020 bis.db", "L-1-2020 bis", "", 0, 0, "/a", "s", false},
        {"Arabic-Indic season digit", {"/l=/a/b/L-١-2020.db", "/s=x", "/c=s"}, false,
         "/a/b/L-١-2020.db", "L-١-2020", "", 0, 0, "/a", "s", false},
        {"fullwidth year digits", {"/l=/a/b/L-1-２０２０.db", "/s=x", "/c=s"}, false,
         "/a/b/L-1-２０２０.db", "L-1-２０２０", "", 0, 0, "/a", "s", false},
        {"accented name", {"/l=/a/b/Città-1-2020.db", "/s=x", "/c=s"}, true,
         "/a/b/Città-1-2020.db", "Città-1-2020", "Città", 1, 2020, "/a", "s", false},
        {"name not UTF-8", {"/l=/a/b/Citt\xE0-1-2020.db", "/s=x", "/c=s"}, false,
         "/a/b/Citt\xE0-1-2020.db", "Citt\xE0-1-2020", "", 0, 0, "/a", "s", false},
        {"line feed in the name: the name follows it", {"/l=/a/b/x\nL-1-2020.db", "/s=x", "/c=s"}, true,
         "/a/b/x\nL-1-2020.db", "x\nL-1-2020", "L", 1, 2020, "/a", "s", false},
        {"one final line feed let through", {"/l=/a/b/L-1-2020\n.db", "/s=x", "/c=s"}, true,
         "/a/b/L-1-2020\n.db", "L-1-2020\n", "L", 1, 2020, "/a", "s", false},
        {"two final line feeds", {"/l=/a/b/L-1-2020\n\n.db", "/s=x", "/c=s"}, false,
         "/a/b/L-1-2020\n\n.db", "L-1-2020\n\n", "", 0, 0, "/a", "s", false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PluginContext context;
        EXPECT_EQ(ParseArguments(context, c.arguments), c.valid);
        EXPECT_EQ(context.LeagueFile, c.leagueFile);
        EXPECT_EQ(context.LeagueBaseName, c.baseName);
        EXPECT_EQ(context.LeagueName, c.leagueName);
        EXPECT_EQ(context.SeasonNumber, c.seasonNumber);
        EXPECT_EQ(context.SeasonYear, c.seasonYear);
        EXPECT_EQ(context.FcmFolder, c.fcmFolder);
        EXPECT_EQ(context.SiteFolder, c.siteFolder);
        EXPECT_EQ(context.Extended, c.extended);
    }
}

TEST(ExtendedFromEnvironment, OnlyANonZeroIntegerTurnsItOn) {
    struct Case {
        const char* value;
        bool on;
    } cases[] = {{"1", true},    {"-5", true}, {"$10", true},   {"0", false},
                 {"yes", false}, {"", false},  {nullptr, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(unset)");
        EXPECT_EQ(ExtendedFromEnvironment(c.value), c.on);
    }
}

TEST(ReadVersionText, IsTheProjectVersionWithoutTheBuildNumber) {
    EXPECT_EQ(ReadVersionText(), "2.4.0");
}

}  // namespace calvorin
