// SPDX-License-Identifier: GPL-3.0-or-later
// The demo league tool: a seeded, complete FCM environment that Calvorin can run on.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "lineup/ColorThresholds.h"
#include "platform/db/Database.h"
#include "platform/fs/Files.h"
#include "settings/IniFile.h"
#include "settings/StoredSecret.h"
#include "support/Program.h"
#include "support/TempDir.h"
#include "tools/demo/DemoEnvironment.h"
#include "tools/demo/DemoLeague.h"
#include "tools/demo/LeagueSchema.h"

namespace calvorin::demo {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

TEST(DoubleRoundRobin, EveryClubMeetsEveryOtherOnceAtHomeAndOnceAway) {
    const auto fixtures = DoubleRoundRobin(20);
    ASSERT_EQ(fixtures.size(), 380u);
    std::set<std::pair<Id, Id>> pairs;
    std::map<std::pair<Id, std::int64_t>, int> matchesPerClubAndDay;
    for (const IncontraInARow& f : fixtures) {
        EXPECT_NE(f.idCasa, f.idFuori);
        EXPECT_TRUE(pairs.insert({f.idCasa, f.idFuori}).second) << f.idCasa << "-" << f.idFuori << " twice";
        ++matchesPerClubAndDay[{f.idCasa, f.giornata}];
        ++matchesPerClubAndDay[{f.idFuori, f.giornata}];
    }
    EXPECT_EQ(matchesPerClubAndDay.size(), 20u * 38u);
    for (const auto& [key, count] : matchesPerClubAndDay)
        EXPECT_EQ(count, 1) << key.first << " day " << key.second;
}

TEST(BuildDemoLeague, SameSeedSameLeagueOtherSeedOtherLeague) {
    DemoOptions o;
    o.teams = 3;
    o.seed = 11;
    const DemoLeague a = BuildDemoLeague(o), b = BuildDemoLeague(o);
    o.seed = 12;
    const DemoLeague c = BuildDemoLeague(o);
    TempDir dir;
    for (const auto write : {WriteLeagueSqlite, WriteLeagueMdb}) {
        write(a.data, dir / "a");
        write(b.data, dir / "b");
        write(c.data, dir / "c");
        EXPECT_EQ(test::ReadBytes(dir / "a"), test::ReadBytes(dir / "b"));
        EXPECT_NE(test::ReadBytes(dir / "a"), test::ReadBytes(dir / "c"));
    }
    ASSERT_EQ(a.passwords.size(), 3u);
    for (std::size_t i = 0; i < a.passwords.size(); ++i)
        EXPECT_EQ(a.passwords[i].password, b.passwords[i].password);
    EXPECT_NE(a.passwords[0].password, c.passwords[0].password);
}

TEST(BuildDemoLeague, HoldsWhatTheFeaturesNeed) {
    DemoOptions o;
    o.teams = 8;
    const DemoLeague league = BuildDemoLeague(o);
    const LeagueData& d = league.data;
    std::map<Id, int> rosterSizes;
    int primavera = 0, injured = 0, sold = 0;
    for (const TesseratoRow& t : d.tesserati) {
        if (t.venduto) {
            ++sold;
            continue;
        }
        ++rosterSizes[t.idSquadra];
        primavera += t.annoDiContratto > 100;
        injured += t.inizioInfortunio != -1;
    }
    ASSERT_EQ(rosterSizes.size(), 8u);
    for (const auto& [team, size] : rosterSizes) {
        EXPECT_GE(size, 25) << team;
        EXPECT_LE(size, 30) << team;
    }
    EXPECT_GT(primavera, 0);
    EXPECT_GT(injured, 0);
    EXPECT_GT(sold, 0);
    EXPECT_EQ(std::count_if(d.fantasquadre.begin(), d.fantasquadre.end(), [](auto& f) { return f.presGioc; }),
              1);
    for (std::size_t i = 0; i < d.fantasquadre.size(); ++i) {
        EXPECT_TRUE(d.fantasquadre[i].telef2.starts_with(league.passwords[i].password));
        EXPECT_NE(d.fantasquadre[i].telef2.find("[noex]"), std::string::npos);
    }
    EXPECT_EQ(std::count_if(d.giornate.begin(), d.giornate.end(), [](auto& g) { return g.giocata; }), 14);
    EXPECT_EQ(
        std::count_if(d.competizioni.begin(), d.competizioni.end(), [](auto& c) { return c.predefinita; }),
        1);
    EXPECT_THROW(BuildDemoLeague({.teams = 0}), std::invalid_argument);
    EXPECT_THROW(BuildDemoLeague({.teams = 4, .playersPerTeam = 31}), std::invalid_argument);
}

TEST(WriteDemoEnvironment, TheLeagueIsFcmsAccessFileUnlessSqliteIsAsked) {
    struct Case {
        LeagueFormat format;
        const char* name;
        bool access;
    };
    for (const Case& c : {Case{LeagueFormat::Access, "Fantalega-1-2025.mdb", true},
                          Case{LeagueFormat::Sqlite, "Fantalega-1-2025.db", false}}) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const DemoPaths p = WriteDemoEnvironment(dir / "demo", BuildDemoLeague({.teams = 3}), c.format);
        EXPECT_EQ(p.leagueFile, fs::absolute(dir / "demo" / "FCM" / "Leghe" / c.name));
        EXPECT_EQ(test::ReadBytes(p.latestBackup / c.name), test::ReadBytes(p.leagueFile));
        Database db = Database::Open(p.leagueFile);
        EXPECT_EQ(db.IsAccessCopy(), c.access);
        Query teams = db.Prepare("SELECT COUNT(*) AS N FROM Fantasquadra");
        ASSERT_TRUE(teams.Next());
        EXPECT_EQ(teams.Integer("N"), 3);
    }
    EXPECT_EQ(DemoLayout("x").leagueFile.filename(), "Fantalega-1-2025.mdb");
}

TEST(WriteDemoEnvironment, LaysOutFcmTheSiteAndTheSettings) {
    TempDir dir;
    const DemoPaths p = WriteDemoEnvironment(dir / "demo", BuildDemoLeague({.teams = 2}));
    EXPECT_EQ(LaunchArguments(p), "/l=" + PathText(p.leagueFile) + " /s=demo /c=" + PathText(p.siteFolder));
    for (const fs::path& f :
         {p.leagueFile, p.exportFile, p.siteFolder / "js" / "fcmSerieADati.js",
          p.siteFolder / "js" / "fcmDocumentiDati.js", p.siteFolder / "js" / "fcmQueryDati.js",
          p.latestBackup / "Fantalega-1-2025.mdb", p.latestBackup / "ArchivioA2025.db", p.passwords})
        EXPECT_TRUE(FileExists(f)) << f;
    EXPECT_TRUE(DirectoryExists(p.siteFolder / "invform"));

    const IniFile fcm = IniFile::Load(p.fcmFolder / "FCM.ini");
    const std::string first = fcm.Sections().front();
    EXPECT_EQ(fcm.ReadValue(first, "BackupCartella"), PathText(p.fcmFolder / "Backup"));
    EXPECT_EQ(fcm.ReadValue(first, "EsportazioniLegaCartella"), PathText(p.fcmFolder / "Esportazioni"));
    EXPECT_EQ(fcm.ReadValue(first, "VerdeSeMaggioreDiAtta"), "8,5");
    EXPECT_EQ(LeggiSoglieColori(p.fcmFolder).thresholds.value[0][1][3], 8.5);

    const IniFile settings = IniFile::Load(p.pluginSettings);
    EXPECT_EQ(settings.ReadValue("Invio formazione", "Percorso script server"), "invform/invform.php");
    EXPECT_EQ(settings.ReadValue("Invio formazione", "Servizio invio e-mail"), "smtp");
    EXPECT_EQ(settings.ReadValue("Date e orari Serie A", "Esporta orari"), "1");
    EXPECT_EQ(settings.ReadValue("Backup", "File esportazione"), PathText(p.exportFile));
    EXPECT_EQ(ReadSecret(settings, "Backup", "Password", ""), "demo-password");

    const std::string passwords = test::ReadBytes(p.passwords);
    EXPECT_EQ(std::count(passwords.begin(), passwords.end(), '\n'), 2);
    EXPECT_TRUE(passwords.starts_with("1 "));
}

// The tool takes its folder as UTF-8 text on every system: an accented one is written where it says.
TEST(CalvorinDemoTool, PrintsTheLaunchArgumentsAndRefusesBadOptions) {
    const fs::path tool = test::BuildProgram("calvorin-demo");
    ASSERT_TRUE(fs::exists(tool)) << "calvorin-demo is not built: " << PathText(tool);
    TempDir dir;
    const auto run = [&](const std::vector<std::string>& arguments) {
        return test::RunProgram(tool, arguments);
    };
    const test::CommandResult ok = run({PathText(dir / "città" / "d"), "--teams", "3", "--seed", "5"});
    EXPECT_EQ(ok.exitCode, 0) << ok.output;
    const fs::path league = dir / "città" / "d" / "FCM" / "Leghe" / "Fantalega-1-2025.mdb";
    EXPECT_TRUE(ok.output.starts_with("/l=" + PathText(league))) << ok.output;
    EXPECT_TRUE(fs::exists(league));
    const test::CommandResult sqlite = run({PathText(dir / "s"), "--format", "sqlite"});
    EXPECT_EQ(sqlite.exitCode, 0) << sqlite.output;
    EXPECT_TRUE(
        sqlite.output.starts_with("/l=" + PathText(dir / "s" / "FCM" / "Leghe" / "Fantalega-1-2025.db")))
        << sqlite.output;
    EXPECT_EQ(run({PathText(dir / "m"), "--format", "mdb"}).exitCode, 0);
    EXPECT_NE(run({PathText(dir / "x"), "--format", "csv"}).exitCode, 0);
    EXPECT_NE(run({"--teams", "x"}).exitCode, 0);
    EXPECT_NE(run({}).exitCode, 0);
    for (const char* help : {"--help", "-h"}) {
        test::RunOptions stdoutOnly;
        stdoutOnly.capture = test::Capture::StdoutOnly;
        const test::CommandResult usage = test::RunProgram(tool, {help, "--format", "csv"}, stdoutOnly);
        EXPECT_EQ(usage.exitCode, 0) << help;
        EXPECT_TRUE(usage.output.starts_with("Uso: calvorin-demo <cartella>")) << usage.output;
    }
}

}  // namespace
}  // namespace calvorin::demo
