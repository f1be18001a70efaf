// SPDX-License-Identifier: GPL-3.0-or-later
// Which names are temporaries of a pending file, and the clean-up that removes only those.
#include "platform/fs/PendingFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace calvorin {

TEST(PendingFile, TemporaryNamesAreHiddenWithOurMarkerAndTwelveLettersOrDigits) {
    struct Case {
        const char* name;
        const char* mask;
        bool temporary;
    } cases[] = {
        {".invform.inc.php.calvorin-tmp-a1B2c3d4E5f6", "invform.inc.php", true},
        {".Calvorin_Fantalega-1-2025.ini.calvorin-tmp-XyZ123456789", "Calvorin_Fantalega-1-2025.ini", true},
        {".FcmBackup_0a1b2c3d.zip.calvorin-tmp-QWErtyQWErty", "FcmBackup*.zip", true},
        {".FcmExport.zip.calvorin-tmp-000000000000", "FcmBackup*.zip", false},
        {"invform.inc.php.calvorin-tmp-a1B2c3d4E5f6", "invform.inc.php", false},    // not hidden
        {".invform.inc.php.calvorin-tmp-a1B2c3d4E5f", "invform.inc.php", false},    // eleven characters
        {".invform.inc.php.calvorin-tmp-a1B2c3d4E5f6g", "invform.inc.php", false},  // thirteen
        {".invform.inc.php.calvorin-tmp-a1B2c3d4E5f-", "invform.inc.php", false},
        {".calvorin-tmp-a1B2c3d4E5f6", "invform.inc.php", false},
        // The user's own hidden copies, which an older shape of temporary took for ours.
        {".fcmSerieADati.js.backup", "fcmSerieADati.js", false},
        {".FcmBackup_2024.zip.oldone", "FcmBackup*.zip", false},
        {".fcmSerieADati.js.a1B2c3", "fcmSerieADati.js", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsTemporaryName(c.name, c.mask), c.temporary) << c.name;
}

TEST(PendingFile, StaleTemporariesAreRemovedAndEverythingElseStays) {
    test::TempDir dir;
    const std::vector<std::string> kept = {"FcmBackup.zip",
                                           "FcmBackup.zip.calvorin-tmp-a1b2c3d4e5f6",
                                           ".FcmExport.zip.calvorin-tmp-a1b2c3d4e5f6",
                                           ".nascosto",
                                           ".FcmBackup_2024.zip.oldone",
                                           ".FcmBackup.zip.calvorin-tmp-a1b2"};
    for (const std::string& name : kept) test::WriteBytes(dir / name, "x");
    for (const char* name :
         {".FcmBackup.zip.calvorin-tmp-a1b2c3d4e5f6", ".FcmBackup_12345678.zip.calvorin-tmp-ZZZZZZZZZZZZ"})
        test::WriteBytes(dir / name, "partial");
    RemoveStaleTemporaries(dir.path(), "FcmBackup*.zip");
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(test::SortedNames(dir.path()), expected);
}

// A temporary made now is one the clean-up recognises.
TEST(PendingFile, ATemporaryBeingWrittenHasTheShapeTheCleanUpLooksFor) {
    test::TempDir dir;
    PendingFile pending(dir / "fcmSerieADati.js", NewFileMode::FollowUmask);
    const std::vector<std::string> names = test::SortedNames(dir.path());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(IsTemporaryName(names[0], "fcmSerieADati.js")) << names[0];
}

TEST(PendingFile, UncommittedFileLeavesNothingAndTheTargetUntouched) {
    test::TempDir dir;
    test::WriteBytes(dir / "a.js", "old");
    {
        PendingFile pending(dir / "a.js", NewFileMode::FollowUmask);
        pending.File().WriteAt(0, "new", 3);
    }
    EXPECT_EQ(test::ReadBytes(dir / "a.js"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
}

}  // namespace calvorin
