// SPDX-License-Identifier: GPL-3.0-or-later
// The real program in /batch on a demo league, its files read by the site's real consumers.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/http/OrariServer.h"
#include "platform/text/Encoding.h"
#include "settings/IniFile.h"
#include "support/Command.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

using test::PercentEncoded;
using test::RunCommand;
using test::ShellQuote;

const std::filesystem::path kBuild = CALVORIN_BINARY_DIR;

struct DemoLeague {
    DemoLeague() {
        auto made =
            RunCommand(ShellQuote(kBuild / "calvorin-demo") + " " + ShellQuote(dir / "demo") + " --seed 7");
        EXPECT_EQ(made.exitCode, 0) << made.output;
        arguments = made.output.substr(made.output.rfind("/l="));
        arguments.erase(arguments.find_last_not_of("\r\n") + 1);
    }
    // `environment`: assignments or shell commands put before the program, such as "umask 077;".
    test::CommandResult Run(const std::string& environment = "") const {
        return RunCommand(environment + " NO_COLOR=1 " + ShellQuote(kBuild / "calvorin") + " " + arguments +
                          " /batch");
    }
    // The same run by the test build of the program, which obeys CALVORIN_FAULT_*.
    test::CommandResult RunWithFaults(const std::string& environment) const {
        return RunCommand(environment + " NO_COLOR=1 " + ShellQuote(kBuild / "calvorin-with-faults") + " " +
                          arguments + " /batch");
    }
    std::filesystem::path Root() const { return dir / "demo"; }
    std::filesystem::path Site() const { return Root() / "Sito"; }
    std::filesystem::path League() const { return Root() / "FCM" / "Leghe" / "Fantalega-1-2025.mdb"; }
    std::filesystem::path Settings() const {
        return Root() / "FCM" / "plugin" / "Calvorin_Fantalega-1-2025.ini";
    }

    test::TempDir dir;
    std::string arguments;
};

// The folders the program writes to.
std::vector<std::filesystem::path> WrittenFolders(const DemoLeague& demo) {
    return {demo.Site() / "js", demo.Site() / "invform", demo.Site() / "backup",
            demo.Settings().parent_path()};
}

// Names that no file of the demo has: the temporaries and partial archives of a run.
std::vector<std::string> Leftovers(const DemoLeague& demo) {
    std::vector<std::string> found;
    for (const auto& folder : WrittenFolders(demo))
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().filename().string().starts_with(".")) found.push_back(entry.path());
    return found;
}

// Every file the run writes is whole: the site's scripts load, the PHP file parses, both archives pass
// unzip's test, the settings file keeps its secrets.
void ExpectEverySiteFileWhole(const DemoLeague& demo, const std::string& when) {
    auto js = demo.Site() / "js";
    auto node = RunCommand(
        "node -e " +
        ShellQuote("const fs=require('fs');global.ifG=function(){};"
                   "for (const f of process.argv.slice(1)) (0,eval)(fs.readFileSync(f,'latin1'));"
                   "if (arrInvioFormazione.length < 1 || arrDateA.length != 39) process.exit(1);") +
        " " + ShellQuote(js / "fcmInvioFormazioneDati.js") + " " + ShellQuote(js / "fcmSerieADati.js") + " " +
        ShellQuote(js / "fcmVariabiliCalvorin.js"));
    EXPECT_EQ(node.exitCode, 0) << when << node.output;
    auto php = RunCommand("php -r " + ShellQuote("include $argv[1]; exit(count($passwords) > 0 ? 0 : 1);") +
                          " " + ShellQuote(demo.Site() / "invform" / "invform.inc.php"));
    EXPECT_EQ(php.exitCode, 0) << when << php.output;
    int backups = 0, exports = 0;  // a run killed while deleting the previous ones leaves more
    for (const auto& entry : std::filesystem::directory_iterator(demo.Site() / "backup")) {
        std::string name = entry.path().filename().string();
        if (name.starts_with(".")) continue;
        backups += name.starts_with("FcmBackup");
        exports += name.starts_with("FcmExport");
        auto unzip = RunCommand("unzip -tqq -P demo-password " + ShellQuote(entry.path()));
        EXPECT_EQ(unzip.exitCode, 0) << when << entry.path() << unzip.output;
    }
    EXPECT_GE(backups, 1) << when;
    EXPECT_GE(exports, 1) << when;
    EXPECT_EQ(IniFile::Load(demo.Settings()).ReadValue("Invio formazione", "Abilitato"), "1") << when;
    EXPECT_TRUE(IniFile::Load(demo.Settings()).HasKey("Backup", "Password")) << when;
}

std::string LastLine(const std::string& output) {
    auto lines = SplitLines(output);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines.empty() ? "" : lines.back();
}

}  // namespace

TEST(BatchEndToEnd, DemoLeagueRunWritesEverySiteFileForItsConsumers) {
    if (!test::HaveProgram("node") || !test::HaveProgram("php")) GTEST_SKIP() << "node and php are needed";
    DemoLeague demo;
    auto leagueBefore = test::ReadBytes(demo.League());
    auto leagueTime = std::filesystem::last_write_time(demo.League());

    auto run = demo.Run();
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Procedura terminata con successo"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(demo.League()), leagueBefore) << "the league database is never written";
    EXPECT_EQ(std::filesystem::last_write_time(demo.League()), leagueTime);

    auto js = demo.Site() / "js";
    auto node = RunCommand(
        "node -e " +
        ShellQuote("const fs=require('fs');global.ifG=function(){return [...arguments]};"
                   "for (const f of process.argv.slice(1)) (0,eval)(fs.readFileSync(f,'latin1'));"
                   "console.log(JSON.stringify({players:arrInvioFormazione.length,clubs:incontraInA.length-1,"
                   "first:arrInvioFormazione[0],matchday1:arrDateA[1].getHours(),days:arrDateA.length-1,"
                   "invio:invioFormazione,documenti:documenti}))") +
        " " + ShellQuote(js / "fcmInvioFormazioneDati.js") + " " + ShellQuote(js / "fcmSerieADati.js") + " " +
        ShellQuote(js / "fcmVariabiliCalvorin.js"));
    ASSERT_EQ(node.exitCode, 0) << node.output;
    EXPECT_NE(node.output.find("\"clubs\":20"), std::string::npos) << node.output;
    EXPECT_NE(node.output.find("\"days\":38"), std::string::npos) << node.output;
    EXPECT_NE(node.output.find("\"invio\":\"si\""), std::string::npos) << node.output;
    EXPECT_EQ(node.output.find("\"players\":0"), std::string::npos) << node.output;

    auto php = RunCommand(
        "php -r " +
        ShellQuote("include $argv[1]; $n = 0;"
                   "foreach (file($argv[2], FILE_IGNORE_NEW_LINES | FILE_SKIP_EMPTY_LINES) as $line) {"
                   "  [$id, $pw] = explode(' ', $line, 2);"
                   "  if (!password_verify($pw, $passwords[(int)$id]) || password_verify($pw . 'x', "
                   "$passwords[(int)$id]))"
                   "    { echo \"bad $id\\n\"; exit(1); } $n++; }"
                   "echo \"verified $n\\n\";") +
        " " + ShellQuote(demo.Site() / "invform" / "invform.inc.php") + " " +
        ShellQuote(demo.Root() / "passwords.txt"));
    ASSERT_EQ(php.exitCode, 0) << php.output;
    EXPECT_EQ(php.output.find("verified 0"), std::string::npos) << php.output;

    int archives = 0;
    for (const auto& entry : std::filesystem::directory_iterator(demo.Site() / "backup"))
        archives += entry.path().extension() == ".zip";
    EXPECT_EQ(archives, 2);
    IniFile settings = IniFile::Load(demo.Settings());
    EXPECT_EQ(settings.ReadValue("Invio formazione", "Abilitato"), "1");
    EXPECT_TRUE(settings.HasKey("Backup", "Password"));
}

TEST(BatchEndToEnd, FailedRunEndsCancelledAndLeavesTheSettingsFileAlone) {
    DemoLeague demo;
    std::filesystem::remove_all(demo.Site() / "invform");
    auto settingsBefore = test::ReadBytes(demo.Settings());
    auto run = demo.Run();
    EXPECT_EQ(run.exitCode, 2) << run.output;
    EXPECT_EQ(LastLine(run.output), "Operazione annullata");
    EXPECT_EQ(test::ReadBytes(demo.Settings()), settingsBefore);
    EXPECT_TRUE(std::filesystem::exists(demo.Site() / "js" / "fcmInvioFormazioneDati.js"))
        << "the JavaScript file comes before the PHP file";
}

// kill -9 at each write of a run in turn (CALVORIN_FAULT_CRASH_AT): the site keeps whole files. Then a
// run whose write fails at the same point (CALVORIN_FAULT_FAIL_AT) is cancelled and leaves nothing behind,
// neither its own temporary nor the one the killed run left: the file being written at the crash is
// reached before the failing write. The tests of each writer check the files after a failure.
TEST(BatchEndToEnd, CrashOrFailureAtEveryWriteLeavesWholeFilesAndTheNextRunNoLeftover) {
    DemoLeague demo;
    ASSERT_EQ(demo.Run().exitCode, 0);
    std::size_t at = 1;
    for (;; ++at) {
        const std::string n = std::to_string(at);
        auto crashed = demo.RunWithFaults("CALVORIN_FAULT_CRASH_AT=" + n);
        ExpectEverySiteFileWhole(demo, "crash at " + n + ": ");
        auto failed = demo.RunWithFaults("CALVORIN_FAULT_FAIL_AT=" + n);
        EXPECT_EQ(Leftovers(demo), std::vector<std::string>{}) << "failure at " << n;
        if (crashed.exitCode == 0) {
            EXPECT_EQ(failed.exitCode, 0) << failed.output;
            break;
        }
        ASSERT_EQ(crashed.exitCode, 137) << crashed.output;
        EXPECT_NE(failed.exitCode, 0) << "failure at " << n << ": " << failed.output;
        if (HasFailure()) break;  // one broken point says enough
    }
    EXPECT_GT(at, 30u) << "every file of the run is written";
    ExpectEverySiteFileWhole(demo, "at the end: ");
}

// The fault hooks belong to the test build only: the shipped program writes as if they were not set.
TEST(BatchEndToEnd, ShippedProgramIgnoresTheFaultHooks) {
    DemoLeague demo;
    for (const char* hook : {"CALVORIN_FAULT_CRASH_AT=1", "CALVORIN_FAULT_FAIL_AT=1"}) {
        auto run = demo.Run(hook);
        EXPECT_EQ(run.exitCode, 0) << hook << ": " << run.output;
    }
    ExpectEverySiteFileWhole(demo, "with the hooks set: ");
}

TEST(BatchEndToEnd, NewFilesFollowTheUmaskTheSettingsFileStaysItsModeAndArchivesArePrivate) {
    struct Case {
        const char* umask;
        std::filesystem::perms siteFile;
    } cases[] = {
        {"077", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write},
        {"002", std::filesystem::perms(0664)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.umask);
        DemoLeague demo;
        std::filesystem::permissions(demo.Settings(), std::filesystem::perms(0640));
        for (const char* file :
             {"js/fcmInvioFormazioneDati.js", "js/fcmVariabiliCalvorin.js", "invform/invform.inc.php"})
            std::filesystem::remove(demo.Site() / file);
        auto run = demo.Run(std::string("umask ") + c.umask + ";");
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
        const char* message;  // in the output; the start-time export is cancelled without a KO line
    } cases[] = {
        {"Sito/js/fcmQueryDati.js", 0, "Procedura terminata con successo"},
        {"Sito/js/fcmDocumentiDati.js", 0, "Procedura terminata con successo"},
        {"Sito/js/fcmSerieADati.js", 2, "fcmSerieADati.js\n\nOperazione annullata"},
        {"FCM/FCM.ini", 0, "FCM.ini\": è una FIFO, non un file (si usano le soglie predefinite)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        DemoLeague demo;
        std::filesystem::remove(demo.Root() / c.file);
        ASSERT_EQ(::mkfifo((demo.Root() / c.file).c_str(), 0644), 0);
        auto run = demo.Run();
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    }
}

TEST(BatchEndToEnd, InvalidArgumentsExitWithOneAndTouchNothing) {
    test::TempDir dir;
    auto run = RunCommand(ShellQuote(kBuild / "calvorin") +
                          " /l=" + ShellQuote(dir / "Leghe" / "Fantalega-2023.mdb") +
                          " /s=x /c=" + ShellQuote(dir / "Sito") + " /batch");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Argomenti non validi\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(BatchEndToEnd, HelpAndVersionAnswerAtOnceWithoutAWindowWhateverElseIsGiven) {
    struct Case {
        const char* arguments;
        const char* starts;
    } cases[] = {
        {"--help", "Uso: calvorin /l=<file di lega> /s=<testo> /c=<cartella del sito>"},
        {"-h", "Uso: calvorin "},
        {"'/?'", "Uso: calvorin "},
        {"/l=/non/esiste.mdb /s=x --help /batch", "Uso: calvorin "},
        {"--version", "Calvorin "},
        {"/c=x --version --help", "Calvorin "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        // A display that a window could use: asking must still neither open one nor wait on a box.
        const test::CommandResult result = RunCommand("QT_QPA_PLATFORM=offscreen timeout 20 " +
                                                      ShellQuote(kBuild / "calvorin") + " " + c.arguments);
        EXPECT_EQ(result.exitCode, 0) << result.output;
        EXPECT_TRUE(result.output.starts_with(c.starts)) << result.output;
        EXPECT_TRUE(result.output.ends_with("\n")) << result.output;
    }
    const test::CommandResult version = RunCommand(ShellQuote(kBuild / "calvorin") + " --version");
    EXPECT_EQ(version.output, "Calvorin " CALVORIN_VERSION_TEXT "\n");
}

TEST(BatchEndToEnd, ServiceTextsReachTheTerminalWithControlCharactersShown) {
    DemoLeague demo;
    test::OrariServer service;
    const std::string status = "\x1b]0;PWNED\x07\x1b[2J\x1b[32mProcedura terminata con successo";
    IniFile settings = IniFile::Load(demo.Settings());
    settings.WriteString("Date e orari Serie A", "URL aggiornamento orari",
                         service.Url("/motivo/500/" + PercentEncoded(status) + "/services.php"));
    settings.WriteBool("Date e orari Serie A", "Aggiorna orari all'avvio", true);
    settings.Save(demo.Settings());

    auto run = demo.Run();
    // The message is trimmed of blanks and control characters at its ends first: the leading ESC goes.
    EXPECT_NE(run.output.find("\n  KO: ]0;PWNED\\x07\\x1B[2J\\x1B[32mProcedura terminata con successo\n"),
              std::string::npos)
        << run.output;
    auto raw = std::count_if(run.output.begin(), run.output.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\n'; });
    EXPECT_EQ(raw, 0) << "raw control bytes in the output";
}

}  // namespace calvorin
