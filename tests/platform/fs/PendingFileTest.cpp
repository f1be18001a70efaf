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

TEST(PendingFile, TemporaryNamesAreHiddenWithSixLettersOrDigitsAfterTheFinalName) {
    struct Case {
        const char* name;
        const char* mask;
        bool temporary;
    } cases[] = {
        {".invform.inc.php.a1B2c3", "invform.inc.php", true},
        {".Calvorin_Fantalega-1-2025.ini.XyZ123", "Calvorin_Fantalega-1-2025.ini", true},
        {".FcmBackup_0a1b2c3d.zip.QWErty", "FcmBackup*.zip", true},
        {".FcmExport.zip.000000", "FcmBackup*.zip", false},
        {"invform.inc.php.a1B2c3", "invform.inc.php", false},  // not hidden
        {".invform.inc.php.a1B2c", "invform.inc.php", false},  // five characters
        {".invform.inc.php.a1B2c-", "invform.inc.php", false},
        {".invform.inc.phpXa1B2c3", "invform.inc.php", false},
        {".invform.inc.php", "invform.inc.php", false},
        {"..a1B2c3", "invform.inc.php", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsTemporaryName(c.name, c.mask), c.temporary) << c.name;
}

TEST(PendingFile, StaleTemporariesAreRemovedAndEverythingElseStays) {
    test::TempDir dir;
    const std::vector<std::string> kept = {"FcmBackup.zip", "FcmBackup.zip.a1b2c3", ".FcmExport.zip.a1b2c3",
                                           ".nascosto", ".FcmBackup.zip.a1b2"};
    for (const std::string& name : kept) test::WriteBytes(dir / name, "x");
    for (const char* name : {".FcmBackup.zip.a1b2c3", ".FcmBackup_12345678.zip.ZZZZZZ"})
        test::WriteBytes(dir / name, "partial");
    RemoveStaleTemporaries(dir.path(), "FcmBackup*.zip");
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(test::SortedNames(dir.path()), expected);
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
