// SPDX-License-Identifier: GPL-3.0-or-later
// The real program in /batch on POSIX: modes under the umask, and FIFOs where FCM keeps its files.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "DemoLeagueRun.h"
#include "support/posix/PosixFiles.h"
#include "support/posix/RunningProgram.h"

namespace calvorin {
namespace {

using test::DemoLeague;

std::map<std::string, std::string> FilesOf(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[PathText(entry.path().filename())] = test::ReadBytes(entry.path());
    return files;
}

}  // namespace

TEST(BatchEndToEnd, NewFilesFollowTheUmaskTheSettingsFileStaysItsModeAndArchivesArePrivate) {
    struct Case {
        unsigned umask;
        std::filesystem::perms siteFile;
    } cases[] = {
        {077, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write},
        {002, std::filesystem::perms(0664)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.umask);
        DemoLeague demo;
        std::filesystem::permissions(demo.Settings(), std::filesystem::perms(0640));
        for (const char* file :
             {"js/fcmInvioFormazioneDati.js", "js/fcmVariabiliCalvorin.js", "invform/invform.inc.php"})
            std::filesystem::remove(demo.Site() / file);
        test::ScopedUmask mask(c.umask);
        auto run = demo.Run();
        ASSERT_EQ(run.exitCode, 0) << run.output;
        for (const char* file :
             {"js/fcmInvioFormazioneDati.js", "js/fcmVariabiliCalvorin.js", "invform/invform.inc.php"})
            EXPECT_EQ(std::filesystem::status(demo.Site() / file).permissions(), c.siteFile) << file;
        EXPECT_EQ(std::filesystem::status(demo.Settings()).permissions(), std::filesystem::perms(0640));
        for (const auto& entry : std::filesystem::directory_iterator(demo.Site() / "backup"))
            EXPECT_EQ(entry.status().permissions(), std::filesystem::perms(0600)) << entry.path();
    }
}

// A FIFO where FCM puts a file: the run does not wait for a writer that never comes.
TEST(BatchEndToEnd, FifoInPlaceOfAnFcmFileEndsTheRunWithoutWaiting) {
    struct Case {
        const char* file;     // below the demo's root
        int exitCode;         // 0 where the program has a default for a file it cannot read
        const char* message;  // in the output
    } cases[] = {
        {"Sito/js/fcmQueryDati.js", 0, "Procedura terminata con successo"},
        {"Sito/js/fcmDocumentiDati.js", 0, "Procedura terminata con successo"},
        {"Sito/js/fcmSerieADati.js", 2,
         "fcmSerieADati.js\": è una FIFO, non un file\n\nOperazione annullata"},
        {"FCM/FCM.ini", 0, "FCM.ini\": è una FIFO, non un file (si usano le soglie predefinite)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        DemoLeague demo;
        std::filesystem::remove(demo.Root() / c.file);
        test::MakeFifo(demo.Root() / c.file);
        auto run = demo.Run();
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    }
}

// Ctrl+C in the terminal, or the system ending the program, while a large backup is being packed.
TEST(BatchEndToEnd, ASignalDuringPackingStopsTheRunWithStatus2AndKeepsThePreviousArchives) {
    struct Case {
        test::RunningProgram::Stop signal;
        const char* reason;
    } cases[] = {
        {test::RunningProgram::Stop::Interrupt, "Procedura interrotta (Ctrl+C)"},
        {test::RunningProgram::Stop::Terminate,
         "Procedura interrotta: il sistema ha chiesto di terminare il programma"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        DemoLeague demo;
        ASSERT_EQ(demo.Run().exitCode, 0) << "a first run leaves the archives to keep";
        // Incompressible and large: packing it lasts long after its line is written.
        std::string noise(std::size_t{96} << 20, '\0');
        std::uint64_t x = 88172645463325252ull;
        for (char& byte : noise) {
            x ^= x << 13, x ^= x >> 7, x ^= x << 17;
            byte = static_cast<char>(x);
        }
        const auto backupFolder = demo.Root() / "FCM" / "Backup" / "FCMBKP20251102-2305";
        test::WriteBytes(backupFolder / "Fantalega-1-2025.grande", noise);
        const auto archives = FilesOf(demo.Site() / "backup");
        const std::string settings = test::ReadBytes(demo.Settings());

        test::RunningProgram run(test::BuildProgram("calvorin"), demo.Arguments(),
                                 {{"NO_COLOR", "1"}, {"DISPLAY", std::nullopt}});
        ASSERT_TRUE(run.WaitForOutput("Creazione archivio con i file di backup", std::chrono::seconds(120)))
            << run.Output();
        run.Send(c.signal);
        EXPECT_EQ(run.Wait(std::chrono::seconds(120)), 2) << run.Output();
        EXPECT_NE(run.Output().find(std::string("KO: ") + c.reason + "\n"), std::string::npos)
            << run.Output();
        EXPECT_NE(run.Output().find(std::string("Operazione annullata: ") + c.reason + "\n"),
                  std::string::npos)
            << "the summary cron mails";
        EXPECT_EQ(FilesOf(demo.Site() / "backup"), archives) << "no new archive, no partial one";
        EXPECT_EQ(test::ReadBytes(demo.Settings()), settings);
        EXPECT_EQ(test::Leftovers(demo), std::vector<std::string>{});
    }
}

}  // namespace calvorin
