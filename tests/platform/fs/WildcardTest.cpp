// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows wildcard rules of the archive masks.
#include "platform/fs/Wildcard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/TempDir.h"

namespace calvorin {
namespace {

TEST(MatchesWildcardTest, FollowsWindowsRules) {
    struct Case {
        const char* mask;
        const char* name;
        bool matches;
    } cases[] = {
        {"*.*", "Lega.mdb", true},
        {"*.*", "senza_punto", true},
        {"*.*", ".nascosto", true},
        {"*.*", "a.b.c", true},
        {"MiaLega*.*", "MiaLega.mdb", true},
        {"MiaLega*.*", "mialega_backup.MDB", true},  // ASCII letters without case
        {"MiaLega*.*", "MiaLega", true},             // ".*" also takes no extension
        {"MiaLega*.*", "AltraLega.mdb", false},
        {"MiaLega*.*", "Mia", false},
        {"ArchivioA2024*.*", "ArchivioA2024.mdb", true},
        {"ArchivioA2024*.*", "ArchivioA2023.mdb", false},
        {"abc.*", "abc", true},
        {"abc.*", "abcd", false},
        {"FcmBackup*.zip", "FcmBackup.zip", true},
        {"FcmBackup*.zip", "FCMBACKUP_0a1b2c3d.ZIP", true},
        {"FcmBackup*.zip", "FcmBackup.zip.bak", false},
        {"FcmBackup*.zip", "FcmExport.zip", false},
        {"?.txt", "a.txt", true},
        {"?.txt", "è.txt", true},  // one character, two bytes
        {"?.txt", "ab.txt", false},
        {"?.txt", ".txt", false},
        {"a*b*c", "aXXbYYbZc", true},  // backtracking
        {"a*b*c", "aXXbYYbZ", false},
        {"Società*.*", "SOCIETà.mdb", true},  // only ASCII letters fold
        {"Società*.*", "SOCIETÀ.mdb", false},
        {"", "", true},
        {"", "a", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + " ~ " + c.name);
        EXPECT_EQ(MatchesWildcard(c.mask, c.name), c.matches);
    }
}

// On the disk too names match without ASCII case, as Windows finds them: only regular files, never a
// folder, and deleting keeps the files asked for.
TEST(ListMatchingFilesTest, FindsAndDeletesRegularFilesWhateverTheirCase) {
    test::TempDir dir;
    for (const char* name : {"FcmBackup.zip", "FCMBACKUP_0a1b2c3d.ZIP", "fcmbackup_1.Zip", "FcmExport.zip",
                             "FcmBackup.zip.bak", "Società.zip"})
        test::WriteBytes(dir / name, "x");
    std::filesystem::create_directories(dir / "FcmBackupCartella.zip");
    std::vector<std::string> names;
    for (const auto& file : ListMatchingFiles(dir.path(), "fcmbackup*.ZIP"))
        names.push_back(PathText(file.filename()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"FCMBACKUP_0a1b2c3d.ZIP", "FcmBackup.zip", "fcmbackup_1.Zip"}));

    DeleteMatchingFiles(dir.path(), "fcmbackup*.ZIP", {dir / "FcmBackup.zip"});
    EXPECT_EQ(test::SortedNames(dir.path()),
              (std::vector<std::string>{"FcmBackup.zip", "FcmBackup.zip.bak", "FcmBackupCartella.zip",
                                        "FcmExport.zip", "Società.zip"}));
}

}  // namespace
}  // namespace calvorin
