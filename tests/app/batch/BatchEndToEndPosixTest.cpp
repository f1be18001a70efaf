// SPDX-License-Identifier: GPL-3.0-or-later
// The real program in /batch on POSIX: modes under the umask, and FIFOs where FCM keeps its files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DemoLeagueRun.h"
#include "support/posix/PosixFiles.h"

namespace calvorin {
namespace {

using test::DemoLeague;

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

}  // namespace calvorin
