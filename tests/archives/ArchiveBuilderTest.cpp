// SPDX-License-Identifier: GPL-3.0-or-later
// The archive builder on folders made here: cleanup, masks, names, passwords, log lines and failures.
#include "archives/ArchiveBuilder.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "ArchiveTestSupport.h"
#include "support/ChildProcess.h"
#include "support/Command.h"
#include "support/FaultInjection.h"
#include "support/TempDir.h"
#include "support/zip/ZipReader.h"

namespace fs = std::filesystem;

namespace calvorin {
namespace {

using Names = std::set<std::string>;

class ArchiveBuilderTest : public ::testing::Test {
  public:
    void SetUp() override {
        fs::create_directories(site_);
        for (const char* name : {"MiaLega.mdb", "MiaLega_copia.ini", "ArchivioA2024.mdb", "ArchivioA2023.mdb",
                                 "Altro.txt", ".nascosto", "senza_estensione"}) {
            test::WriteBytes(backup_ / name, std::string("contenuto di ") + name);
        }
        test::WriteBytes(backup_ / "sottocartella" / "MiaLega_interno.mdb", "non va archiviato");
        test::WriteBytes(exportFile_, "esportazione");
        context_.SiteFolder = site_.string();
        context_.LeagueBaseName = "MiaLega";
        context_.SeasonYear = 2024;
        options_.backupFolder = "  " + backup_.string() + " ";  // the builder trims
        options_.exportFile = exportFile_.string();
        options_.password = "pw";
    }

    bool Run() {
        Log log(sink_);
        return BuildArchives(options_, context_, log);
    }

    // Names in backup/ of the site, sorted.
    std::vector<std::string> DestinationNames() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(destination_))
            names.push_back(entry.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    struct Archive {
        Names entries;
        bool encrypted = false;
    };

    // Reads an archive back, every entry checked against its source file.
    Archive ReadArchive(const fs::path& path, const fs::path& sourceFolder, const std::string& password) {
        FileByteSource source(path);
        ZipReader reader(source, password);
        Archive archive;
        for (const ZipEntryHeader& entry : reader.Entries()) {
            archive.entries.insert(entry.name);
            archive.encrypted = entry.Encrypted();
            EXPECT_EQ(reader.ExtractToString(entry), test::ReadBytes(sourceFolder / entry.name))
                << entry.name;
        }
        return archive;
    }

    test::TempDir dir_;
    fs::path site_ = dir_ / "sito";
    fs::path destination_ = site_ / "backup";
    fs::path backup_ = dir_ / "FCM" / "backup" / "FCMBKP_2024-03-01";
    fs::path exportFile_ = dir_ / "FCM" / "export" / "MiaLega.exp";
    PluginContext context_;
    ArchiveOptions options_;
    MemoryLogSink sink_;
};

TEST_F(ArchiveBuilderTest, FirstRunCreatesTheFolderAndLogsEachStep) {
    ASSERT_TRUE(Run());
    const std::string d = destination_.string();
    EXPECT_EQ(sink_.Text(), "  - Creazione cartella destinazione\n    " + d + "\n    OK\n" +
                                "  - Creazione archivio con i file di backup\n    " + d +
                                "/FcmBackup.zip\n    OK\n" +
                                "  - Creazione archivio con il file di esportazione\n    " + d +
                                "/FcmExport.zip\n    OK\n");
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
    EXPECT_TRUE(sink_.Text().ends_with("  - Pulizia cartella destinazione\n    " + destination_.string() +
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
         [](ArchiveBuilderTest& t) { t.context_.SiteFolder = (t.dir_ / "manca").string(); },
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
    ASSERT_EQ(::truncate((backup_ / "zz_grande.bin").c_str(), 0x100000000LL), 0);
    EXPECT_FALSE(Run());
    EXPECT_NE(sink_.LastLine().find("4 GiB"), std::string::npos) << sink_.LastLine();
    EXPECT_EQ(test::ReadBytes(destination_ / "FcmBackup.zip"), previousBackup);
    EXPECT_EQ(DestinationNames(), (std::vector<std::string>{"FcmBackup.zip", "FcmExport.zip"}));
}

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
            bool failed;
            {
                test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Fail, at});
                ScopedFileSystem scope(faulty);
                failed = !Run();
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
            EXPECT_TRUE(failed) << at;
            ++crashes;
        }
        EXPECT_GT(crashes, 20u);
    }
}

}  // namespace
}  // namespace calvorin
