// SPDX-License-Identifier: GPL-3.0-or-later
// The real program in /batch on a demo league, its files read by the site's real consumers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/http/OrariServer.h"
#include "platform/text/Encoding.h"
#include "settings/IniFile.h"
#include "support/Command.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

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
    test::CommandResult Run() const {
        return RunCommand("NO_COLOR=1 " + ShellQuote(kBuild / "calvorin") + " " + arguments + " /batch");
    }
    std::filesystem::path Root() const { return dir / "demo"; }
    std::filesystem::path Site() const { return Root() / "Sito"; }
    std::filesystem::path League() const { return Root() / "FCM" / "Leghe" / "Fantalega-1-2025.db"; }
    std::filesystem::path Settings() const {
        return Root() / "FCM" / "plugin" / "Calvorin_Fantalega-1-2025.ini";
    }

    test::TempDir dir;
    std::string arguments;
};

std::string PercentEncoded(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        out += std::isalnum(c) ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return out;
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

TEST(BatchEndToEnd, InvalidArgumentsExitWithOneAndTouchNothing) {
    test::TempDir dir;
    auto run = RunCommand(ShellQuote(kBuild / "calvorin") +
                          " /l=" + ShellQuote(dir / "Leghe" / "Fantalega-2023.mdb") +
                          " /s=x /c=" + ShellQuote(dir / "Sito") + " /batch");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Argomenti non validi\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
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
