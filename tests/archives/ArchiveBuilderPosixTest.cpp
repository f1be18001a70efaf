// SPDX-License-Identifier: GPL-3.0-or-later
// The archive builder on POSIX: links in place of the archives, a crash at every write checked with unzip.
#include <gtest/gtest.h>

#include "ArchiveBuilderFixture.h"
#include "support/Command.h"
#include "support/FaultInjection.h"
#include "support/posix/ChildProcess.h"
#include "support/posix/PosixFiles.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;
using test::ArchiveBuilderTest;
using test::Names;

TEST_F(ArchiveBuilderTest, SymbolicLinksInPlaceOfTheArchivesAreReplacedNeverFollowed) {
    fs::create_directories(destination_);
    test::WriteBytes(dir_ / "fuori" / "esistente.zip", "non nostro");
    fs::create_symlink(dir_ / "fuori" / "nuovo.zip", destination_ / "FcmBackup.zip");  // dangling
    fs::create_symlink(dir_ / "fuori" / "esistente.zip", destination_ / "FcmExport.zip");
    ASSERT_TRUE(Run()) << sink_.Text();
    EXPECT_FALSE(fs::exists(dir_ / "fuori" / "nuovo.zip"));
    EXPECT_EQ(test::ReadBytes(dir_ / "fuori" / "esistente.zip"), "non nostro");
    for (const char* name : {"FcmBackup.zip", "FcmExport.zip"}) {
        EXPECT_FALSE(fs::is_symlink(destination_ / name)) << name;
        EXPECT_EQ(fs::status(destination_ / name).permissions(),
                  fs::perms::owner_read | fs::perms::owner_write);
    }
    EXPECT_EQ(ReadArchive(destination_ / "FcmExport.zip", exportFile_.parent_path(), "pw").entries,
              Names{"MiaLega.exp"});
}

// What cannot be packed is left out by name, never silently; the rest of the backup goes in.
TEST_F(ArchiveBuilderTest, FifosAndBrokenLinksInTheBackupAreLeftOutAndNamed) {
    test::MakeFifo(backup_ / "MiaLega.fifo");
    fs::create_symlink(backup_ / "manca.mdb", backup_ / "MiaLega_rotto.mdb");
    ASSERT_TRUE(Run()) << sink_.Text();
    const std::string& log = sink_.Text();
    EXPECT_NE(log.find("    MiaLega.fifo lasciato fuori dall'archivio: è una FIFO, non un file\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("    MiaLega_rotto.mdb lasciato fuori dall'archivio: non è un file regolare\n"),
              std::string::npos)
        << log;
    const Names entries = ReadArchive(destination_ / "FcmBackup.zip", backup_, "pw").entries;
    EXPECT_TRUE(entries.contains("MiaLega.mdb"));
    EXPECT_FALSE(entries.contains("MiaLega.fifo"));
    EXPECT_FALSE(entries.contains("MiaLega_rotto.mdb"));
    EXPECT_EQ(log.find("sottocartella"), std::string::npos) << "a folder is no part of a backup, silently";
}

// After a run failed or killed at any write, every archive in backup/ is whole (unzip tests every entry
// with its CRC), a backup and an export archive are there, and the next run leaves no partial file.
TEST_F(ArchiveBuilderTest, FailureOrCrashAtEveryWriteLeavesValidArchivesAndTheNextRunNoPartialFile) {
    auto checkArchives = [&](std::size_t at) {
        int backups = 0, exports = 0;
        for (const std::string& name : DestinationNames()) {
            if (name.starts_with(".")) continue;  // a partial archive, left for the next run
            backups += name.starts_with("FcmBackup");
            exports += name.starts_with("FcmExport");
            auto check = test::RunCommand("unzip -tqq -P pw " + test::ShellQuote(destination_ / name));
            EXPECT_EQ(check.exitCode, 0) << "operation " << at << ", " << name << ": " << check.output;
        }
        EXPECT_GE(backups, 1) << at;
        EXPECT_GE(exports, 1) << at;
    };
    for (bool randomNames : {false, true}) {
        SCOPED_TRACE(randomNames ? "random names" : "fixed names");
        options_.randomNames = randomNames;
        ASSERT_TRUE(Run());
        std::size_t crashes = 0;
        for (std::size_t at = 1;; ++at) {
            int status = test::RunInChild([&] {
                test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Crash, at});
                ScopedFileSystem scope(faulty);
                if (!Run()) throw std::runtime_error("failed");
            });
            checkArchives(at);
            bool failed, warned;
            {
                test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Fail, at});
                ScopedFileSystem scope(faulty);
                failed = !Run();
                warned = faulty.FailedAtFolderSync();  // after the rename: a warning, no failure
            }
            checkArchives(at);
            for (const std::string& name : DestinationNames())
                EXPECT_FALSE(name.starts_with(".")) << "operation " << at << ": " << name;
            ASSERT_TRUE(Run());
            EXPECT_EQ(DestinationNames().size(), 2u) << at;
            if (status == 0) {
                EXPECT_FALSE(failed);
                break;
            }
            ASSERT_EQ(status, test::kCrashExitCode);
            EXPECT_NE(failed, warned) << at;
            ++crashes;
        }
        EXPECT_GT(crashes, 20u);
    }
}

}  // namespace
}  // namespace calvorin
