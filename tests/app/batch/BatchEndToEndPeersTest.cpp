// SPDX-License-Identifier: GPL-3.0-or-later
// The real program in /batch on a demo league, its files read by the site's real consumers (node, php,
// unzip).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DemoLeagueRun.h"
#include "support/Command.h"

namespace calvorin {
namespace {

using test::DemoLeague;
using test::NodeRunsTheSiteScripts;
using test::RunCommand;
using test::ShellQuote;

// Every file the run writes is whole for its consumers: the site's scripts load, the PHP file parses, both
// archives pass unzip's test, the settings file keeps its secrets. The program's own readers check them too
// (ExpectSiteFilesWhole), against the files of a complete run.
void ExpectEverySiteFileWhole(const DemoLeague& demo, const test::SiteFiles& complete,
                              const std::string& when) {
    test::ExpectSiteFilesWhole(demo, complete, when);
    auto node = NodeRunsTheSiteScripts(demo.Site() / "js");
    EXPECT_EQ(node.exitCode, 0) << when << node.output;
    auto php = RunCommand("php -r " + ShellQuote("include $argv[1]; exit(count($passwords) > 0 ? 0 : 1);") +
                          " " + ShellQuote(demo.Site() / "invform" / "invform.inc.php"));
    EXPECT_EQ(php.exitCode, 0) << when << php.output;
    int backups = 0, exports = 0;  // a run killed while deleting the previous ones leaves more
    for (const auto& entry : std::filesystem::directory_iterator(demo.Site() / "backup")) {
        std::string name = PathText(entry.path().filename());
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

// kill -9 at each write of a run in turn (CALVORIN_FAULT_CRASH_AT): the site keeps whole files. Then a
// run whose write fails at the same point (CALVORIN_FAULT_FAIL_AT) is cancelled and leaves nothing behind,
// neither its own temporary nor the one the killed run left: the file being written at the crash is
// reached before the failing write. The tests of each writer check the files after a failure.
TEST(BatchEndToEnd, CrashOrFailureAtEveryWriteLeavesWholeFilesAndTheNextRunNoLeftover) {
    DemoLeague demo;
    ASSERT_EQ(demo.Run().exitCode, 0);
    const test::SiteFiles complete = test::ReadSiteFiles(demo);
    test::CrashOrFailAtEveryWrite(
        demo, [&](const std::string& when) { ExpectEverySiteFileWhole(demo, complete, when); });
}

}  // namespace calvorin
