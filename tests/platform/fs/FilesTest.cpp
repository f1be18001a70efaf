// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and atomic replacement: failures at every write, what is refused and why, on both systems.
#include "platform/fs/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/os/SystemError.h"
#include "support/FaultInjection.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace calvorin {
TEST(Files, AtomicWriteReplacesTheWholeFile) {
    test::TempDir dir;
    auto file = dir / "a.txt";
    WriteFileAtomic(file, "first version, rather long");
    WriteFileAtomic(file, "second");
    EXPECT_EQ(ReadFileBytes(file), "second");
    EXPECT_EQ(test::SortedNames(dir.path()), std::vector<std::string>{"a.txt"}) << "no temporary left";
}

TEST(Files, EveryFailedWriteOperationLeavesThePreviousFileAndNoTemporary) {
    test::TempDir dir;
    auto file = dir / "invform.inc.php";
    WriteFileAtomic(file, "old contents");
    std::size_t at = 1;
    for (;; ++at) {
        test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Fail, at, ErrorKind::DiskFull});
        ScopedFileSystem scope(faulty);
        std::optional<std::string> warning;
        try {
            warning = WriteFileAtomic(file, "new contents that will not fit");
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(PathText(dir.path())), std::string::npos)
                << error.what();
            EXPECT_EQ(ReadFileBytes(file), "old contents") << "failure at operation " << at;
            EXPECT_EQ(test::SortedNames(dir.path()), std::vector<std::string>{"invform.inc.php"}) << at;
            continue;
        }
        // The last operation, the folder sync, comes after the rename: the file is written, with a warning.
        EXPECT_TRUE(faulty.FailedAtFolderSync()) << at;
        ASSERT_TRUE(warning.has_value()) << at;
        EXPECT_EQ(*warning,
                  "il file \"" + PathText(file) +
                      "\" è scritto, ma la sua cartella non si è potuta sincronizzare sul disco "
                      "(spazio su disco esaurito): dopo un'interruzione di corrente potrebbe tornare "
                      "quello di prima");
        EXPECT_EQ(ReadFileBytes(file), "new contents that will not fit");
        EXPECT_EQ(test::SortedNames(dir.path()), std::vector<std::string>{"invform.inc.php"});
        break;
    }
    EXPECT_GE(at, 5u) << "create, write, mode, sync, rename and folder sync are separate operations";
}

TEST(Files, FolderOrMissingFileIsRefusedWithItsReasonInItalian) {
    test::TempDir dir;
    struct Case {
        fs::path path;
        std::string message;
    } cases[] = {
        {dir.path(),
         "Impossibile leggere il file \"" + PathText(dir.path()) + "\": è una cartella, non un file"},
        {dir / "none", "Impossibile aprire il file \"" + PathText(dir / "none") +
                           "\": " + SystemErrorText(SystemErrorOf(ErrorKind::NotFound))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(PathText(c.path));
        try {
            ReadFileBytes(c.path);
            ADD_FAILURE() << "expected an error";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
    test::WriteBytes(dir / "regular.js", "ok");
    EXPECT_EQ(ReadFileBytes(dir / "regular.js"), "ok");
}

TEST(Files, MissingFolderGivesAnItalianMessage) {
    test::TempDir dir;
    try {
        WriteFileAtomic(dir / "js" / "x.js", "x");
        FAIL() << "expected an error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("Impossibile creare il file"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_TRUE(DirectoryExists(dir.path()));
}

}  // namespace calvorin
