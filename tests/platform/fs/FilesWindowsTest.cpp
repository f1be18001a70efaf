// SPDX-License-Identifier: GPL-3.0-or-later
// Files on Windows: replacement of files other programs hold open, long paths and folders, owner-only rights,
// devices.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/fs/FileSystem.h"
#include "platform/fs/Files.h"
#include "platform/fs/PendingFile.h"
#include "platform/fs/Wildcard.h"
#include "platform/os/Folder.h"
#include "support/TempDir.h"
#include "support/windows/WindowsFiles.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace calvorin {
namespace {

// The message of the replacement's failure, or "" when it went through.
std::string WriteError(const fs::path& file, const std::string& bytes) {
    try {
        WriteFileAtomic(file, bytes);
        return "";
    } catch (const std::runtime_error& error) {
        return error.what();
    }
}

// Records the access list of the temporary at each write, as another account of the machine meets it.
class AccessRecorder : public SystemFileSystem {
  public:
    SystemError Write(NativeFile& file, std::uint64_t offset, const void* data, std::size_t size,
                      std::size_t& done) override {
        lists.push_back(test::ReadAccessList(file.Path()));
        return SystemFileSystem::Write(file, offset, data, size, done);
    }
    std::vector<test::AccessList> lists;
};

}  // namespace

// FCM or an editor may hold the file open without letting it be deleted: the replacement is retried for
// about five seconds, then refused with the previous file intact and the temporary gone.
TEST(FilesWindows, FileHeldOpenByAnotherProgramIsRetriedThenRefusedLeavingItIntact) {
    test::TempDir dir;
    const fs::path file = dir / "invform.inc.php";
    WriteFileAtomic(file, "old contents");
    test::FileHeldOpen held(file);
    const auto start = std::chrono::steady_clock::now();
    const std::string error = WriteError(file, "new contents");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(error.starts_with("Impossibile sostituire il file \"" + PathText(file) + "\": ")) << error;
    EXPECT_GE(waited, 4s);
    EXPECT_LT(waited, 15s);
    held.Release();
    EXPECT_EQ(ReadFileBytes(file), "old contents");
    EXPECT_EQ(test::SortedNames(dir.path()), std::vector<std::string>{"invform.inc.php"});
}

TEST(FilesWindows, FileReleasedDuringTheRetryIsReplaced) {
    test::TempDir dir;
    const fs::path file = dir / "fcmInvioFormazioneDati.js";
    WriteFileAtomic(file, "old contents");
    test::FileHeldOpen held(file);
    std::thread release([&] {
        std::this_thread::sleep_for(1s);
        held.Release();
    });
    const std::string error = WriteError(file, "new contents");
    release.join();
    EXPECT_EQ(error, "");
    EXPECT_EQ(ReadFileBytes(file), "new contents");
    EXPECT_EQ(test::SortedNames(dir.path()), std::vector<std::string>{"fcmInvioFormazioneDati.js"});
}

// The read-only attribute says "keep": it is never retried for seconds. Windows refuses to rename over
// it; Wine (8.0) renames over it all the same, so there the file is the new one, whole.
TEST(FilesWindows, ReadOnlyFileIsNeverRetried) {
    test::TempDir dir;
    const fs::path file = dir / "fcmSerieADati.js";
    WriteFileAtomic(file, "old contents");
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto start = std::chrono::steady_clock::now();
    const std::string error = WriteError(file, "new contents");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    if (test::RunningUnderWine()) {
        EXPECT_EQ(error, "");
        EXPECT_EQ(ReadFileBytes(file), "new contents");
    } else {
        EXPECT_TRUE(error.starts_with("Impossibile sostituire il file")) << error;
        EXPECT_EQ(ReadFileBytes(file), "old contents");
    }
    EXPECT_EQ(test::SortedNames(dir.path()), std::vector<std::string>{"fcmSerieADati.js"});
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

// Past MAX_PATH (260 characters) a path works only in the "\\?\" form: the program uses it by itself.
TEST(FilesWindows, PathLongerThanMaxPathIsWrittenAtomicallyAndRead) {
    test::TempDir dir;
    fs::path folder = fs::absolute(dir.path());
    for (int level = 0; level < 6; ++level) folder /= std::string(50, static_cast<char>('a' + level));
    const fs::path extended = fs::path(L"\\\\?\\" + folder.make_preferred().native());
    fs::create_directories(extended);  // the standard library keeps the limit on the plain form
    const fs::path file = folder / Utf8Path("Lega-Società-1-2025.js");
    ASSERT_GT(file.native().size(), 300u);
    WriteFileAtomic(file, "prima");
    WriteFileAtomic(file, "seconda");
    EXPECT_EQ(ReadFileBytes(file), "seconda");
    EXPECT_EQ(ReadFileBytes(extended / file.filename()), "seconda");
    EXPECT_EQ(test::NamesInFolder(folder), std::vector<std::string>{"Lega-Società-1-2025.js"})
        << "no temporary";
    test::RemoveFolderTree(dir / std::string(50, 'a'));  // which the folder's own removal could not reach
}

// A folder past MAX_PATH is listed, made and cleaned as a short one: a killed run's temporary there is
// removed, the archives' mask finds its files whatever their case, and a missing chain of folders is made.
TEST(FilesWindows, FolderLongerThanMaxPathIsListedCleanedAndMade) {
    test::TempDir dir;
    fs::path folder = fs::absolute(dir.path());
    for (int level = 0; level < 6; ++level) folder /= std::string(50, static_cast<char>('k' + level));
    ASSERT_EQ(CreateFolders(folder), SystemError{});
    EXPECT_TRUE(DirectoryExists(folder));
    ASSERT_GT(folder.native().size(), 300u);

    WriteFileAtomic(folder / "FcmBackup_1.zip", "uno");
    WriteFileAtomic(folder / "FCMBACKUP_2.ZIP", "due");
    WriteFileAtomic(folder / ".FcmBackup_3.zip.calvorin-tmp-a1B2c3d4E5f6",
                    "lasciato da un'esecuzione interrotta");
    RemoveStaleTemporaries(folder, "FcmBackup*.zip");
    EXPECT_EQ(test::NamesInFolder(folder), (std::vector<std::string>{"FCMBACKUP_2.ZIP", "FcmBackup_1.zip"}));
    EXPECT_EQ(ListMatchingFiles(folder, "fcmbackup*.zip").size(), 2u);
    DeleteMatchingFiles(folder, "FcmBackup*.zip", {folder / "FcmBackup_1.zip"});
    EXPECT_EQ(test::NamesInFolder(folder), std::vector<std::string>{"FcmBackup_1.zip"});

    const fs::path deeper = folder / Utf8Path("Società") / "Archivi";
    ASSERT_EQ(CreateFolders(deeper), SystemError{});
    EXPECT_TRUE(DirectoryExists(deeper));
    EXPECT_EQ(KindOf(CreateFolder(deeper)), ErrorKind::AlreadyExists);
    test::RemoveFolderTree(dir / std::string(50, 'k'));
}

// A secret stays the current user's: the temporary from its creation, and the file written OwnerOnly;
// a file of FollowUmask takes what the folder gives. Under Wine, see IsOwnerOnly.
TEST(FilesWindows, TemporaryAndOwnerOnlyFileLetInTheCurrentUserAlone) {
    test::TempDir dir;
    ASSERT_FALSE(test::CurrentUserSid().empty());
    {
        AccessRecorder recorder;
        ScopedFileSystem scope(recorder);
        WriteFileAtomic(dir / "invform.inc.php", "<?php $password = 'segreta'; ?>", NewFileMode::OwnerOnly);
        ASSERT_EQ(recorder.lists.size(), 1u);
        EXPECT_TRUE(test::IsOwnerOnly(recorder.lists[0]))
            << "the temporary: " << test::Describe(recorder.lists[0]);
    }
    const test::AccessList secret = test::ReadAccessList(dir / "invform.inc.php");
    EXPECT_TRUE(test::IsOwnerOnly(secret)) << "the file written OwnerOnly: " << test::Describe(secret);

    WriteFileAtomic(dir / "fcmInvioFormazioneDati.js", "var x;", NewFileMode::FollowUmask);
    const test::AccessList shared = test::ReadAccessList(dir / "fcmInvioFormazioneDati.js");
    EXPECT_TRUE(shared.inheritsFromFolder) << test::Describe(shared);
    EXPECT_FALSE(test::IsOwnerOnly(shared)) << "what the folder gives: " << test::Describe(shared);
}

// A device name reads no file: NUL would give nothing for ever, CON would wait for the keyboard.
TEST(FilesWindows, DeviceNamesAreRefused) {
    for (const char* name : {"NUL", "CON"}) {
        SCOPED_TRACE(name);
        try {
            ReadFileBytes(name);
            ADD_FAILURE() << "a device was read";
        } catch (const std::runtime_error& error) {
            const std::string text = error.what();
            EXPECT_TRUE(text.find("è un dispositivo, non un file") != std::string::npos ||
                        text.starts_with(std::string("Impossibile aprire il file \"") + name + "\""))
                << text;
        }
    }
    try {
        ReadFileBytes("NUL");
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Impossibile leggere il file \"NUL\": è un dispositivo, non un file");
    }
}

}  // namespace calvorin
