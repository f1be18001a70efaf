// SPDX-License-Identifier: GPL-3.0-or-later
// The real program in /batch on a demo league: what it writes, what it refuses, what it answers at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DemoLeagueRun.h"
#include "platform/os/NativeFile.h"

namespace calvorin {
namespace {

using test::DemoLeague;
using test::RunProgram;

TEST(BatchEndToEnd, DemoLeagueRunWritesWholeFilesArchivesAccentedNamesAndLeavesTheLeagueAlone) {
    DemoLeague demo;
    const auto latestBackup = demo.Root() / "FCM" / "Backup" / "FCMBKP20251102-2305";
    test::WriteBytes(latestBackup / Utf8Path("Società città.txt"), "nomi accentati");
    const std::string leagueBefore = test::ReadBytes(demo.League());
    const auto leagueTime = std::filesystem::last_write_time(demo.League());

    const test::CommandResult run = demo.Run();
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Procedura terminata con successo"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(demo.League()), leagueBefore) << "the league database is never written";
    EXPECT_EQ(std::filesystem::last_write_time(demo.League()), leagueTime);
    test::ExpectSiteFilesWhole(demo, test::ReadSiteFiles(demo), "");

    std::vector<std::string> archives;
    for (const auto& entry : std::filesystem::directory_iterator(demo.Site() / "backup"))
        archives.push_back(PathText(entry.path().filename()));
    ASSERT_EQ(archives.size(), 2u);
    for (const std::string& name : archives) {
        if (!name.starts_with("FcmBackup")) continue;
        FileByteSource source(demo.Site() / "backup" / Utf8Path(name));
        ZipReader reader(source, "demo-password");
        bool found = false;
        for (const ZipEntryHeader& entry : reader.Entries()) {
            if (entry.name != "Società città.txt") continue;
            found = true;
            EXPECT_EQ(reader.ExtractToString(entry), "nomi accentati");
        }
        EXPECT_TRUE(found) << "the accented name is stored as its UTF-8 text";
    }
}

TEST(BatchEndToEnd, FailedRunEndsCancelledAndLeavesTheSettingsFileAlone) {
    DemoLeague demo;
    std::filesystem::remove_all(demo.Site() / "invform");
    const std::string settingsBefore = test::ReadBytes(demo.Settings());
    const test::CommandResult run = demo.Run();
    EXPECT_EQ(run.exitCode, 2) << run.output;
    const std::string reason =
        "Impossibile creare il file \"" + PathText(demo.Site() / "invform" / "invform.inc.php") + "\": ";
    EXPECT_NE(run.output.find("    KO: " + reason), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\nOperazione annullata\n"), std::string::npos) << run.output;
    EXPECT_TRUE(test::LastLine(run.output).starts_with("Operazione annullata: " + reason))
        << "the one-line summary on standard error, which cron mails: " << run.output;
    EXPECT_EQ(test::ReadBytes(demo.Settings()), settingsBefore);
    EXPECT_TRUE(std::filesystem::exists(demo.Site() / "js" / "fcmInvioFormazioneDati.js"))
        << "the JavaScript file comes before the PHP file";
}

// Cron during a manual run, or FCM started twice: the later one says so and touches nothing.
TEST(BatchEndToEnd, ASecondRunOnTheSameLeagueEndsWithStatus1WhileTheFirstHoldsIt) {
    DemoLeague demo;
    const auto lock = demo.Settings().parent_path() / Utf8Path("Calvorin_Fantalega-1-2025.lock");
    {
        NativeFile held;  // as the first Calvorin holds it
        ASSERT_FALSE(NativeFile::OpenLocked(lock, held));
        const test::CommandResult run = demo.Run();
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_NE(run.output.find("Un'altra esecuzione di Calvorin è in corso su questa lega:\n" +
                                  PathText(demo.League())),
                  std::string::npos)
            << run.output;
        EXPECT_EQ(run.output.find("Generazione"), std::string::npos) << "no step ran";
    }
    EXPECT_EQ(demo.Run().exitCode, 0) << "a lock left by a run that ended stops nobody";
}

// Cron would otherwise publish the defaults that stand in for a damaged settings file.
TEST(BatchEndToEnd, AnUnusableSettingsFileStopsBeforeAnyStepWithStatus3) {
    DemoLeague demo;
    static constexpr char kGarbage[] = "\x9c\x01\xff\x00 non sono impostazioni";
    const std::string garbage(kGarbage, sizeof kGarbage - 1);  // the NUL inside included
    test::WriteBytes(demo.Settings(), garbage);
    const auto siteBefore = std::filesystem::last_write_time(demo.Site() / "js" / "fcmSerieADati.js");
    const test::CommandResult run = demo.Run();
    EXPECT_EQ(run.exitCode, 3) << run.output;
    EXPECT_TRUE(
        test::LastLine(run.output)
            .starts_with(
                "Impostazioni di Calvorin non utilizzabili (Il file non contiene impostazioni di Calvorin)"))
        << run.output;
    EXPECT_EQ(run.output.find("Generazione"), std::string::npos) << "no step ran";
    EXPECT_EQ(std::filesystem::last_write_time(demo.Site() / "js" / "fcmSerieADati.js"), siteBefore);
    EXPECT_EQ(test::ReadBytes(demo.Settings()), garbage);
}

// The fault hooks belong to the test build only: the shipped program writes as if they were not set.
TEST(BatchEndToEnd, ShippedProgramIgnoresTheFaultHooks) {
    DemoLeague demo;
    ASSERT_EQ(demo.Run().exitCode, 0);
    const test::SiteFiles complete = test::ReadSiteFiles(demo);
    for (const char* hook : {"CALVORIN_FAULT_CRASH_AT", "CALVORIN_FAULT_FAIL_AT"}) {
        test::RunOptions options;
        options.environment.emplace_back(hook, "1");
        const test::CommandResult run = demo.Run(options);
        EXPECT_EQ(run.exitCode, 0) << hook << ": " << run.output;
    }
    test::ExpectSiteFilesWhole(demo, complete, "with the hooks set: ");
    EXPECT_EQ(test::Leftovers(demo), std::vector<std::string>{});
}

// Over SSH without X, someone who only wanted to look at the options must not publish the site.
TEST(BatchEndToEnd, WithoutADisplayAndWithoutBatchNothingRunsAndTheWayToBatchIsShown) {
    DemoLeague demo;
    std::vector<std::string> arguments = demo.Arguments();
    std::erase(arguments, std::string("/batch"));
    ASSERT_EQ(arguments.size(), demo.Arguments().size() - 1);
    test::RunOptions options;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        options.environment.emplace_back(variable, std::nullopt);
    const test::CommandResult run = RunProgram(test::BuildProgram("calvorin"), arguments, options);
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("aggiungere /batch agli argomenti"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Procedura"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(demo.Site() / "js" / "fcmInvioFormazioneDati.js"));
    EXPECT_FALSE(std::filesystem::exists(demo.Site() / "invform" / "invform.inc.php"));
}

TEST(BatchEndToEnd, InvalidArgumentsExitWithOneAndTouchNothing) {
    test::TempDir dir;
    const test::CommandResult run =
        RunProgram(test::BuildProgram("calvorin"), {"/l=" + PathText(dir / "Leghe" / "Fantalega-2023.mdb"),
                                                    "/s=x", "/c=" + PathText(dir / "Sito"), "/batch"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(test::LineFeedsOnly(run.output),
              "Argomenti non validi\n- /l=\"" + PathText(dir / "Leghe" / "Fantalega-2023.mdb") +
                  "\": il nome del file della lega deve avere la forma nome-stagione-anno, per esempio "
                  "Fantalega-1-2025.mdb\nPer l'uso: calvorin --help\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(BatchEndToEnd, HelpAndVersionAnswerAtOnceWithoutAWindowWhateverElseIsGiven) {
    struct Case {
        std::vector<std::string> arguments;
        const char* starts;
    } cases[] = {
        {{"--help"}, "Uso: calvorin /l=<file di lega> /s=<testo> /c=<cartella del sito>"},
        {{"-h"}, "Uso: calvorin "},
        {{"/?"}, "Uso: calvorin "},
        {{"/l=/non/esiste.mdb", "/s=x", "--help", "/batch"}, "Uso: calvorin "},
        {{"--version"}, "Calvorin "},
        {{"/c=x", "--version", "--help"}, "Calvorin "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        // A display that a window could use: asking must still neither open one nor wait on a box.
        test::RunOptions options;
        options.environment.emplace_back("QT_QPA_PLATFORM", "offscreen");
        options.timeout = std::chrono::seconds(20);
        const test::CommandResult result = RunProgram(test::BuildProgram("calvorin"), c.arguments, options);
        EXPECT_EQ(result.exitCode, 0) << result.output;
        EXPECT_TRUE(result.output.starts_with(c.starts)) << result.output;
        EXPECT_TRUE(result.output.ends_with("\n")) << result.output;
    }
    const test::CommandResult version = RunProgram(test::BuildProgram("calvorin"), {"--version"});
    EXPECT_EQ(test::LineFeedsOnly(version.output), "Calvorin " CALVORIN_VERSION_TEXT "\n");
}

}  // namespace
}  // namespace calvorin
