// SPDX-License-Identifier: GPL-3.0-or-later
// Finding FCM's latest backup folder.
#include "archives/ArchiveSources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace calvorin {
namespace {

// A folder entry to make: a folder unless `file`.
struct Item {
    const char* name;
    bool file = false;
};

std::string FirstListedOf(const std::filesystem::path& folder, const std::vector<std::string>& names) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        for (const std::string& name : names) {
            if (entry.path().filename() == name) return name;
        }
    }
    return "";
}

TEST(FindLatestBackupTest, PicksTheGreatestFcmbkpFolder) {
    struct Case {
        const char* label;
        std::vector<Item> items;
        const char* expected;  // nullptr: none
    } cases[] = {
        {"empty folder", {}, nullptr},
        {"greatest name wins",
         {{"FCMBKP_2024-01-05"}, {"FCMBKP_2024-03-01"}, {"FCMBKP_2023-12-31"}},
         "FCMBKP_2024-03-01"},
        {"case folded when comparing", {{"FCMBKP_a"}, {"FCMBKP_B"}}, "FCMBKP_B"},
        {"letters fold upwards: '_' sorts after 'A'..'Z'", {{"FCMBKP_z"}, {"FCMBKP__"}}, "FCMBKP__"},
        {"lower-case prefix, files and hidden folders ignored",
         {{"fcmbkp_9"}, {"FCMBKP_9.zip", true}, {".FCMBKP_9"}, {"FCMBKP_1"}},
         "FCMBKP_1"},
        {"only ignored entries", {{"fcmbkp_9"}, {"FCMBKP_9", true}, {"Altro"}}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        test::TempDir dir;
        for (const Item& item : c.items) {
            if (item.file)
                test::WriteBytes(dir / item.name, "x");
            else
                std::filesystem::create_directory(dir / item.name);
        }
        auto latest = FindLatestBackup(dir.path().string());
        if (c.expected) {
            ASSERT_TRUE(latest.has_value());
            EXPECT_EQ(*latest, (dir / c.expected).string());
        } else {
            EXPECT_FALSE(latest.has_value()) << *latest;
        }
    }
}

TEST(FindLatestBackupTest, AmongEqualNamesTheFirstListedStays) {
    test::TempDir dir;
    const std::vector<std::string> equal = {"FCMBKP_abc", "FCMBKP_ABC", "FCMBKP_Abc"};
    for (const std::string& name : equal) std::filesystem::create_directory(dir / name);
    std::filesystem::create_directory(dir / "FCMBKP_ab");
    EXPECT_EQ(FindLatestBackup(dir.path().string()), (dir / FirstListedOf(dir.path(), equal)).string());
}

TEST(FindLatestBackupTest, NoFolderGivesNothing) {
    EXPECT_FALSE(FindLatestBackup("").has_value());
    EXPECT_FALSE(FindLatestBackup("/nonexistent/calvorin/backup").has_value());
}

}  // namespace
}  // namespace calvorin
