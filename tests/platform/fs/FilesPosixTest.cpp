// SPDX-License-Identifier: GPL-3.0-or-later
// Atomic replacement on POSIX: a crash at every write, modes under the umask, links, FIFOs and devices.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/fs/Files.h"
#include "support/FaultInjection.h"
#include "support/TempDir.h"
#include "support/posix/ChildProcess.h"
#include "support/posix/PosixFiles.h"

namespace fs = std::filesystem;

namespace calvorin {
namespace {

// Records the mode the file has at each write, as another user of the machine could see it.
class ModeRecorder : public SystemFileSystem {
  public:
    SystemError Write(NativeFile& file, std::uint64_t offset, const void* data, std::size_t size,
                      std::size_t& done) override {
        modes.push_back(test::ModeOf(file.Path()));
        return SystemFileSystem::Write(file, offset, data, size, done);
    }
    std::vector<unsigned> modes;
};

}  // namespace

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
        for (const std::string& name : test::SortedNames(dir.path())) {
            if (name == "invform.inc.php") continue;
            EXPECT_TRUE(name.starts_with(".invform.inc.php.")) << name;
            // Until it is complete and given its final mode just before the rename, no one else reads it.
            if (test::ReadBytes(dir / name) != secret) {
                EXPECT_EQ(test::ModeOf(dir / name), 0600u) << name;
            }
        }
        WriteFileAtomic(file, "next run");
        EXPECT_EQ(test::SortedNames(dir.path()), std::vector<std::string>{"invform.inc.php"});
        if (status == 0) break;
        ASSERT_EQ(status, test::kCrashExitCode);
    }
}

TEST(Files, TemporaryIsPrivateAndTheFinalModeFollowsUmaskOrTheReplacedFile) {
    test::TempDir dir;
    struct Case {
        const char* label;
        unsigned umask;
        int existingMode;  // -1: no file before
        NewFileMode newMode;
        unsigned expected;
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
            fs::permissions(file, static_cast<fs::perms>(c.existingMode));
        }
        test::ScopedUmask mask(c.umask);
        ModeRecorder recorder;
        ScopedFileSystem scope(recorder);
        WriteFileAtomic(file, "new", c.newMode);
        EXPECT_EQ(test::ModeOf(file), c.expected);
        EXPECT_EQ(recorder.modes, std::vector<unsigned>{0600});
    }
}

// A web server that reads invform.inc.php through its group must still read the new one.
TEST(Files, AReplacedFileKeepsItsGroupAndMode) {
    test::TempDir dir;
    const auto file = dir / "invform.inc.php";
    test::WriteBytes(file, "old");
    const unsigned group = test::AnotherGroupWeMayGive();
    test::SetGroup(file, group);
    fs::permissions(file, static_cast<fs::perms>(0640));
    WriteFileAtomic(file, "new", NewFileMode::OwnerOnly);
    EXPECT_EQ(test::ReadBytes(file), "new");
    EXPECT_EQ(test::GroupOf(file), group);
    EXPECT_EQ(test::ModeOf(file), 0640u);
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
        EXPECT_EQ(test::ModeOf(dir / "site" / name) & 0600, 0600u);
    }
    EXPECT_EQ(ReadFileBytes(dir / "site" / "a.js"), "a");
    EXPECT_EQ(ReadFileBytes(dir / "site" / "b.js"), "b");
    EXPECT_EQ(ReadFileBytes(dir / "outside" / "existing.txt"), "not ours");
    EXPECT_FALSE(fs::exists(dir / "outside" / "created.txt"));
}

TEST(Files, FifoAndDeviceAreRefusedAtOnceInItalian) {
    test::TempDir dir;
    test::MakeFifo(dir / "fcmQueryDati.js");
    struct Case {
        fs::path path;
        const char* reason;
    } cases[] = {
        {dir / "fcmQueryDati.js",
         "è una FIFO, non un file"},                     // no writer: a blocking open would wait for ever
        {"/dev/zero", "è un dispositivo, non un file"},  // endless: a read to the end would never end
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
}

}  // namespace calvorin
