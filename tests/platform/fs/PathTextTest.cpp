// SPDX-License-Identifier: GPL-3.0-or-later
// Paths kept as text: accented names written and read through PathFromText, names joined in the base's style.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fs/Files.h"
#include "platform/fs/Wildcard.h"
#include "platform/fs/WinePath.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;

// A folder and a league named with accented letters, as Italian users name them: the text FCM passes
// reaches the same file on every system, and the names come back as the same text.
TEST(PathTextTest, AccentedFolderAndLeagueNamesAreWrittenReadAndListedAsTheirText) {
    test::TempDir dir;
    const std::string folder = JoinPathText(PathText(dir.path()), {"città"});
    const std::string league = JoinPathText(folder, {"Lega-Società-1-2025.mdb"});
    fs::create_directories(PathFromText(folder));
    WriteFileAtomic(PathFromText(league), "lega di città");
    EXPECT_EQ(ReadFileBytes(PathFromText(league)), "lega di città");
    EXPECT_EQ(ReadFileBytes(dir / "città" / Utf8Path("Lega-Società-1-2025.mdb")), "lega di città");
    EXPECT_TRUE(FileExists(Utf8Path(league)));
    EXPECT_TRUE(DirectoryExists(Utf8Path(folder)));
    EXPECT_EQ(PathText(PathFromText(league)), league);

    const std::vector<fs::path> listed = ListMatchingFiles(PathFromText(folder), "lega-società*.MDB");
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(PathText(listed[0].filename()), "Lega-Società-1-2025.mdb");
    EXPECT_EQ(PathText(listed[0]), PathText(Utf8Path(league)));
}

TEST(JoinPathText, KeepsTheSeparatorStyleOfTheBase) {
    struct Case {
        std::string base;
        std::vector<std::string> names;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {R"(C:\FCM)", {"plugin", "Calvorin_Lega-1-2025.ini"}, R"(C:\FCM\plugin\Calvorin_Lega-1-2025.ini)"},
        {R"(C:\)", {"FCM.ini"}, R"(C:\FCM.ini)"},
        {"C:", {"FCM.ini"}, R"(C:\FCM.ini)"},
        {"C:/FCM", {"js", "x.js"}, "C:/FCM/js/x.js"},
        {R"(\\server\share)", {"x"}, R"(\\server\share\x)"},
        {"/srv/fcm", {"plugin", "x.ini"}, "/srv/fcm/plugin/x.ini"},
        {"/", {"FCM.ini"}, "/FCM.ini"},
        {"", {"FCM.ini"}, "FCM.ini"},
    };
    for (const auto& c : cases) {
        std::string joined = c.base;
        if (c.names.size() == 1) joined = JoinPathText(c.base, {c.names[0]});
        if (c.names.size() == 2) joined = JoinPathText(c.base, {c.names[0], c.names[1]});
        EXPECT_EQ(joined, c.expected) << c.base;
    }
}

}  // namespace
}  // namespace calvorin
