// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/Files.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace calvorin {

TEST(Files, AtomicWriteReplacesTheWholeFile) {
    test::TempDir dir;
    auto file = dir / "a.txt";
    WriteFileAtomic(file, "first version, rather long");
    WriteFileAtomic(file, "second");
    EXPECT_EQ(ReadFileBytes(file), "second");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
}

TEST(Files, FailedWriteLeavesThePreviousFileAndNoTemporary) {
    test::TempDir dir;
    auto file = dir / "settings.ini";
    WriteFileAtomic(file, "old contents");
    EXPECT_THROW(WriteFileAtomic(file, "new contents that will not fit", WriteFaults{5}), std::runtime_error);
    EXPECT_EQ(ReadFileBytes(file), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(Files, MissingFolderAndMissingFileGiveItalianMessages) {
    test::TempDir dir;
    try {
        WriteFileAtomic(dir / "js" / "x.js", "x");
        FAIL() << "expected an error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("Impossibile creare il file"), std::string::npos);
    }
    EXPECT_THROW(ReadFileBytes(dir / "none"), std::runtime_error);
    EXPECT_THROW(ReadFileBytes(dir.path()), std::runtime_error);
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_TRUE(DirectoryExists(dir.path()));
}

}  // namespace calvorin
