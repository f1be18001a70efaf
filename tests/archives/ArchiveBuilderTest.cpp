// SPDX-License-Identifier: GPL-3.0-or-later
// The archive builder on folders made here: cleanup, masks, names, passwords, log lines and failures.
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "ArchiveBuilderFixture.h"
#include "ArchiveTestSupport.h"
#include "support/FaultInjection.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;
using test::ArchiveBuilderTest;
using test::Names;

TEST_F(ArchiveBuilderTest, FirstRunCreatesTheFolderAndLogsEachStep) {
    ASSERT_TRUE(Run());
    EXPECT_EQ(sink_.Text(), "  - Creazione cartella destinazione\n    " + PathText(destination_) +
                                "\n    OK\n" + "  - Creazione archivio con i file di backup\n    " +
                                PathText(destination_ / "FcmBackup.zip") + "\n    OK\n" +
                                "  - Creazione archivio con il file di esportazione\n    " +
                                PathText(destination_ / "FcmExport.zip") + "\n    OK\n");
    EXPECT_EQ(DestinationNames(), (std::vector<std::string>{"FcmBackup.zip", "FcmExport.zip"}));
}

TEST_F(ArchiveBuilderTest, EachArchiveReportsItsBytesUpToAllOfThemBeforeItsOkLine) {
    // Records progress in the order it comes among the log's lines.
    struct Recorder : MemoryLogSink {
        void ShowProgress(const ProgressState& state) override {
            events.push_back("progress " + std::to_string(state.done) + "/" + std::to_string(state.total));
        }
        void EndProgress() override { events.push_back("end"); }
        void AppendLine(const StyledLine& line) override {
            MemoryLogSink::AppendLine(line);
            events.push_back("line " + LastLine());
        }
        std::vector<std::string> events;
    } recorder;
    test::WriteBytes(backup_ / "MiaLega.mdb", test::SampleText(3 * 1024 * 1024));
    std::uint64_t backupBytes = 0;
    for (const auto& entry : fs::directory_iterator(backup_))
        if (entry.is_regular_file()) backupBytes += entry.file_size();
    Log log(recorder);
    ASSERT_TRUE(BuildArchives(options_, context_, log));
    const std::string backupDone =
        "progress " + std::to_string(backupBytes) + "/" + std::to_string(backupBytes);
    const auto at = std::find(recorder.events.begin(), recorder.events.end(), backupDone);
    ASSERT_NE(at, recorder.events.end()) << testing::PrintToString(recorder.events);
    EXPECT_EQ(*(at + 1), "end");
    EXPECT_EQ(*(at + 2), "line     OK");
    EXPECT_EQ(recorder.events.back(), "line     OK");
    const std::string exportDone = "progress 12/12";  // "esportazione"
    EXPECT_EQ(recorder.events[recorder.events.size() - 3], exportDone);
}

TEST_F(ArchiveBuilderTest, LaterRunsCleanOnlyOldArchives) {
    for (const char* name : {"FcmBackup_0a1b2c3d.zip", "fcmexport.ZIP", "FcmExport_ffffffff.zip", "altro.zip",
                             "FcmBackup.zip.txt", "leggimi.txt"}) {
        test::WriteBytes(destination_ / name, "vecchio");
    }
    fs::create_directories(destination_ / "FcmBackupCartella.zip");  // a folder is never deleted
    options_.randomNames = true;
    ASSERT_TRUE(Run());
    // Only once the new archives are in place.
    EXPECT_TRUE(sink_.Text().ends_with("  - Pulizia cartella destinazione\n    " + PathText(destination_) +
                                       "\n    OK\n"))
        << sink_.Text();
    // The old archives are gone; each new one has a fresh token, and the log names it.
    std::vector<std::string> kept;
    for (const std::string& name : DestinationNames()) {
        if (std::regex_match(name, std::regex("Fcm(Backup|Export)_[0-9a-f]{8}\\.zip"))) {
            EXPECT_NE(name, "FcmExport_ffffffff.zip");
            EXPECT_NE(sink_.Text().find(name), std::string::npos) << name;
        } else {
            kept.push_back(name);
        }
    }
    EXPECT_EQ(kept, (std::vector<std::string>{"FcmBackup.zip.txt", "FcmBackupCartella.zip", "altro.zip",
                                              "leggimi.txt"}));
    EXPECT_EQ(DestinationNames().size(), kept.size() + 2);
}

TEST_F(ArchiveBuilderTest, OptionsChooseArchivesEntriesAndEncryption) {
    const Names all = {"MiaLega.mdb", "MiaLega_copia.ini", "ArchivioA2024.mdb", "ArchivioA2023.mdb",
                       "Altro.txt",   ".nascosto",         "senza_estensione"};
    struct Case {
        const char* label;
        bool backup, exportOn, soloLega;
        const char* password;
        Names backupEntries;  // empty with backup off
        bool encrypted;
    } cases[] = {
        {"every file of the backup folder, hidden ones too", true, true, false, "pw", all, true},
        {"only the league's files",
         true,
         true,
         true,
         "pw",
         {"MiaLega.mdb", "MiaLega_copia.ini", "ArchivioA2024.mdb"},
         true},
        {"password trimmed", true, false, false, "  pw\t", all, true},
        {"password of blanks: no encryption", true, true, false, "   ", all, false},
        {"export only", false, true, false, "pw", {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        options_.backupEnabled = c.backup;
        options_.exportEnabled = c.exportOn;
        options_.soloLega = c.soloLega;
        options_.password = c.password;
        ASSERT_TRUE(Run()) << sink_.Text();
        const std::string key = c.encrypted ? "pw" : "";
        EXPECT_EQ(fs::exists(destination_ / "FcmBackup.zip"), c.backup);
        if (c.backup) {
            Archive archive = ReadArchive(destination_ / "FcmBackup.zip", backup_, key);
            EXPECT_EQ(archive.entries, c.backupEntries);
            EXPECT_EQ(archive.encrypted, c.encrypted);
        }
        EXPECT_EQ(fs::exists(destination_ / "FcmExport.zip"), c.exportOn);
        if (c.exportOn) {
            Archive exported = ReadArchive(destination_ / "FcmExport.zip", exportFile_.parent_path(), key);
            EXPECT_EQ(exported.entries, Names{"MiaLega.exp"});
            EXPECT_EQ(exported.encrypted, c.encrypted);
        }
    }
}

TEST_F(ArchiveBuilderTest, LeagueFilesMissingGiveAnEmptyBackupArchive) {
    context_.LeagueBaseName = "AltraLega";
    context_.SeasonYear = 1999;
    options_.soloLega = true;
    ASSERT_TRUE(Run());
    EXPECT_TRUE(ReadArchive(destination_ / "FcmBackup.zip", backup_, "pw").entries.empty());
}

TEST_F(ArchiveBuilderTest, FailuresAreLoggedAsKoAndReported) {
    struct Case {
        const char* label;
        std::function<void(ArchiveBuilderTest&)> arrange;
        const char* messagePart;
    } cases[] = {
        {"site folder missing: the destination cannot be created",
         [](ArchiveBuilderTest& t) { t.context_.SiteFolder = PathText(t.dir_ / "manca"); },
         "Impossibile creare la cartella"},
        {"a file stands where the destination folder goes",
         [](ArchiveBuilderTest& t) {
             fs::remove_all(t.destination_);
             test::WriteBytes(t.destination_, "file");
         },
         "Impossibile creare la cartella"},
        {"no site folder: nothing is written in the working folder",
         [](ArchiveBuilderTest& t) { t.context_.SiteFolder.clear(); }, "Cartella del sito non specificata"},
        {"export file gone", [](ArchiveBuilderTest& t) { fs::remove(t.exportFile_); },
         "esportazione non esiste"},
        {"backup folder gone", [](ArchiveBuilderTest& t) { fs::remove_all(t.backup_); },
         "Impossibile leggere"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove_all(site_);
        fs::remove_all(dir_ / "FCM");
        SetUp();
        c.arrange(*this);
        sink_ = MemoryLogSink();
        EXPECT_FALSE(Run());
        std::string last = sink_.LastLine();
        EXPECT_TRUE(last.starts_with("    KO: ")) << last;
        EXPECT_NE(last.find(c.messagePart), std::string::npos) << last;
        ASSERT_EQ(sink_.Lines().back().segments.front().text, "    ");
        EXPECT_EQ(sink_.Lines().back().segments[1].text, "KO");  // red
        EXPECT_TRUE(sink_.Lines().back().segments[1].style.color.has_value());
    }
}

TEST_F(ArchiveBuilderTest, ArchiveInterruptedByAnErrorIsRemovedAndThePreviousArchivesStay) {
    ASSERT_TRUE(Run());
    const std::string previousBackup = test::ReadBytes(destination_ / "FcmBackup.zip");
    // A sparse file of 4 GiB is refused by the ZIP format.
    test::WriteBytes(backup_ / "zz_grande.bin", "");
    fs::resize_file(backup_ / "zz_grande.bin", 0x100000000LL);
    EXPECT_FALSE(Run());
    EXPECT_NE(sink_.LastLine().find("4 GiB"), std::string::npos) << sink_.LastLine();
    EXPECT_EQ(test::ReadBytes(destination_ / "FcmBackup.zip"), previousBackup);
    EXPECT_EQ(DestinationNames(), (std::vector<std::string>{"FcmBackup.zip", "FcmExport.zip"}));
}

// A run failed at any write (a full disk, a file in use) leaves every archive in backup/ whole, read back
// with every entry's CRC checked, a backup and an export archive there, and no partial file.
TEST_F(ArchiveBuilderTest, FailureAtEveryWriteLeavesWholeArchivesAndNoPartialFile) {
    for (bool randomNames : {false, true}) {
        SCOPED_TRACE(randomNames ? "random names" : "fixed names");
        options_.randomNames = randomNames;
        ASSERT_TRUE(Run());
        std::size_t failures = 0;
        for (std::size_t at = 1;; ++at) {
            bool failed, warned;
            {
                test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Fail, at});
                ScopedFileSystem scope(faulty);
                failed = !Run();
                // A failed folder sync comes after its archive's rename: the run goes on, with a warning.
                warned = faulty.FailedAtFolderSync();
            }
            EXPECT_FALSE(failed && warned) << at;
            if (warned) {
                EXPECT_NE(sink_.Text().find("    Attenzione: il file"), std::string::npos) << at;
            }
            int backups = 0, exports = 0;
            for (const std::string& name : DestinationNames()) {
                EXPECT_FALSE(name.starts_with(".")) << "operation " << at << ": " << name;
                const bool backup = name.starts_with("FcmBackup");
                backups += backup;
                exports += name.starts_with("FcmExport");
                const Archive archive =
                    backup ? ReadArchive(destination_ / name, backup_, "pw")
                           : ReadArchive(destination_ / name, exportFile_.parent_path(), "pw");
                EXPECT_FALSE(archive.entries.empty()) << "operation " << at << ": " << name;
            }
            EXPECT_GE(backups, 1) << at;
            EXPECT_GE(exports, 1) << at;
            if (!failed && !warned) break;
            failures += failed;
            ASSERT_TRUE(Run());
            EXPECT_EQ(DestinationNames().size(), 2u) << at;
        }
        EXPECT_GT(failures, 20u);
    }
}

}  // namespace
}  // namespace calvorin
