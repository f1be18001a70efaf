// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and atomic replacement: failures and crashes at every write, modes, links, special files.
#include "platform/fs/Files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/FaultInjection.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace calvorin {
namespace {

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// Sets the umask for the scope; the previous one comes back afterwards.
class ScopedUmask {
  public:
    explicit ScopedUmask(mode_t mask) : previous_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(previous_); }

  private:
    mode_t previous_;
};

// Records the mode the file has at each write, as another user of the machine could see it.
class ModeRecorder : public SystemFileSystem {
  public:
    SystemError Write(NativeFile& file, std::uint64_t offset, const void* data, std::size_t size,
                      std::size_t& done) override {
        modes.push_back(ModeOf(file.Path()));
        return SystemFileSystem::Write(file, offset, data, size, done);
    }
    std::vector<mode_t> modes;
};

}  // namespace

TEST(Files, AtomicWriteReplacesTheWholeFile) {
    test::TempDir dir;
    auto file = dir / "a.txt";
    WriteFileAtomic(file, "first version, rather long");
    WriteFileAtomic(file, "second");
    EXPECT_EQ(ReadFileBytes(file), "second");
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"a.txt"}) << "no temporary left";
}

TEST(Files, EveryFailedWriteOperationLeavesThePreviousFileAndNoTemporary) {
    test::TempDir dir;
    auto file = dir / "invform.inc.php";
    WriteFileAtomic(file, "old contents");
    std::size_t at = 1;
    for (;; ++at) {
        test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Fail, at, ErrorKind::DiskFull});
        ScopedFileSystem scope(faulty);
        try {
            WriteFileAtomic(file, "new contents that will not fit");
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(dir.path().string()), std::string::npos) << error.what();
            if (test::ReadBytes(file) == "new contents that will not fit")
                break;  // only the folder sync failed
            EXPECT_EQ(ReadFileBytes(file), "old contents") << "failure at operation " << at;
            EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"invform.inc.php"}) << at;
            continue;
        }
        ADD_FAILURE() << "the last operation, the folder sync, did not fail";
        break;
    }
    EXPECT_GE(at, 5u) << "create, write, mode, sync, rename and folder sync are separate operations";
}

TEST(Files, CrashAtEveryWriteOperationLeavesAWholeFileAndTheNextWriteRemovesTheTemporary) {
    test::TempDir dir;
    auto file = dir / "invform.inc.php";
    const std::string secret = "<?php $smtpPassword = 'segreta'; ?>";
    for (std::size_t at = 1;; ++at) {
        SCOPED_TRACE(at);
        WriteFileAtomic(file, "old contents");
        int status = test::RunInChild([&] {
            test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Crash, at});
            ScopedFileSystem scope(faulty);
            WriteFileAtomic(file, secret);
        });
        std::string after = ReadFileBytes(file);
        EXPECT_TRUE(after == "old contents" || after == secret) << after;
        for (const std::string& name : Names(dir.path())) {
            if (name == "invform.inc.php") continue;
            EXPECT_TRUE(name.starts_with(".invform.inc.php.")) << name;
            // Until it is complete and given its final mode just before the rename, no one else reads it.
            if (test::ReadBytes(dir / name) != secret) {
                EXPECT_EQ(ModeOf(dir / name), 0600u) << name;
            }
        }
        WriteFileAtomic(file, "next run");
        EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"invform.inc.php"});
        if (status == 0) break;
        ASSERT_EQ(status, test::kCrashExitCode);
    }
}

TEST(Files, TemporaryIsPrivateAndTheFinalModeFollowsUmaskOrTheReplacedFile) {
    test::TempDir dir;
    struct Case {
        const char* label;
        mode_t umask;
        int existingMode;  // -1: no file before
        NewFileMode newMode;
        mode_t expected;
    } cases[] = {
        {"new file, umask 022", 022, -1, NewFileMode::FollowUmask, 0644},
        {"new file, umask 077", 077, -1, NewFileMode::FollowUmask, 0600},
        {"new file, umask 002", 002, -1, NewFileMode::FollowUmask, 0664},
        {"new secret file, umask 002", 002, -1, NewFileMode::OwnerOnly, 0600},
        {"replaced file keeps 0640", 022, 0640, NewFileMode::FollowUmask, 0640},
        {"replaced secret file keeps 0644", 077, 0644, NewFileMode::OwnerOnly, 0644},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto file = dir / "file.js";
        fs::remove(file);
        if (c.existingMode >= 0) {
            test::WriteBytes(file, "old");
            ASSERT_EQ(::chmod(file.c_str(), static_cast<mode_t>(c.existingMode)), 0);
        }
        ScopedUmask mask(c.umask);
        ModeRecorder recorder;
        ScopedFileSystem scope(recorder);
        WriteFileAtomic(file, "new", c.newMode);
        EXPECT_EQ(ModeOf(file), c.expected);
        EXPECT_EQ(recorder.modes, std::vector<mode_t>{0600});
    }
}

TEST(Files, SymbolicLinkInPlaceOfTheFileIsReplacedNeverFollowed) {
    test::TempDir dir;
    fs::create_directories(dir / "site");
    test::WriteBytes(dir / "outside" / "existing.txt", "not ours");
    fs::create_symlink(dir / "outside" / "existing.txt", dir / "site" / "a.js");
    fs::create_symlink(dir / "outside" / "created.txt", dir / "site" / "b.js");  // dangling
    WriteFileAtomic(dir / "site" / "a.js", "a");
    WriteFileAtomic(dir / "site" / "b.js", "b");
    for (const char* name : {"a.js", "b.js"}) {
        EXPECT_FALSE(fs::is_symlink(dir / "site" / name)) << name;
        EXPECT_EQ(ModeOf(dir / "site" / name) & 0600, 0600u);
    }
    EXPECT_EQ(ReadFileBytes(dir / "site" / "a.js"), "a");
    EXPECT_EQ(ReadFileBytes(dir / "site" / "b.js"), "b");
    EXPECT_EQ(ReadFileBytes(dir / "outside" / "existing.txt"), "not ours");
    EXPECT_FALSE(fs::exists(dir / "outside" / "created.txt"));
}

TEST(Files, OnlyRegularFilesAreReadAndTheRestFailsAtOnceInItalian) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fcmQueryDati.js").c_str(), 0644), 0);
    struct Case {
        fs::path path;
        const char* reason;
    } cases[] = {
        {dir / "fcmQueryDati.js",
         "è una FIFO, non un file"},                     // no writer: a blocking open would wait for ever
        {"/dev/zero", "è un dispositivo, non un file"},  // endless: a read to the end would never end
        {dir.path(), "è una cartella, non un file"},
        {dir / "none", "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            ReadFileBytes(c.path);
            ADD_FAILURE() << "expected an error";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + c.path.string() + "\": " + c.reason),
                      std::string::npos)
                << e.what();
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
