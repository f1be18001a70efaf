// SPDX-License-Identifier: GPL-3.0-or-later
// Leagues shaped to cost time: repeated GiocaIn rows, and an SQLite file without the score query's indexes.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "GeneratorTestSupport.h"
#include "lineup/JsDataFile.h"
#include "lineup/LeagueQueries.h"
#include "lineup/ScoreSummary.h"
#include "platform/db/Database.h"
#include "tools/demo/DemoLeague.h"
#include "tools/demo/LeagueSchema.h"

namespace calvorin::test {
namespace {

// The player records of a data file, in file order.
std::vector<std::string> PlayerRecords(const std::string& js) {
    static const std::regex record(R"(a\[\d+\]=new ifG\([^\r\n]*)");
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(js.begin(), js.end(), record); it != std::sregex_iterator(); ++it)
        out.push_back(it->str());
    return out;
}

// The records worked out one by one, each reading its player's rows again: what the generator writes.
std::vector<std::string> RecordsReadOneByOne(const LeagueEnvironment& env, bool primavera) {
    Database db = Database::Open(env.LeagueFile());
    Query competition = db.Prepare(queries::kCompetizione);
    EXPECT_TRUE(competition.Next());
    const CompetitionRules rules = ReadCompetitionRules(competition);
    Query last = db.Prepare(queries::kUltimaGiornataGiocata);
    EXPECT_TRUE(last.Next());
    const ColorThresholds thresholds = ColorThresholds::Defaults();
    const SummaryContext context{rules, thresholds, last.Integer("MaxG")};
    Lines lines;
    Query players = db.Prepare(queries::kGiocatori);
    for (std::size_t index = 0; players.Next(); ++index) {
        ScoreQueries fresh(db, primavera);
        PlayerEntry p{players.Integer("T.IDSquadra"),
                      players.Integer("ID"),
                      players.Integer("Ruolo"),
                      players.Integer("GI.IDSquadra"),
                      {}};
        p.summary = RiepilogoGiocatore(fresh, p.id, p.fantasyTeam, p.role, players.Integer("Primavera") != 0,
                                       context);
        AddJsPlayer(lines, index, p);
    }
    return lines;
}

std::size_t RecordsOf(const std::vector<std::string>& records, const std::string& teamAndPlayer) {
    std::size_t n = 0;
    for (const std::string& r : records) n += r.find("new ifG(" + teamAndPlayer + ",") != std::string::npos;
    return n;
}

using RepeatedRows = GeneratorFixture;

TEST_F(RepeatedRows, EachRowGivesTheRecordItGaveWhenReadOnItsOwn) {
    constexpr const char* kRepeatLast =
        "INSERT INTO GiocaIn SELECT * FROM GiocaIn WHERE IDGiocatore = 12 AND Giornata = 2;";
    struct Case {
        const char* name;
        std::string sql;
        const char* teamAndPlayer;
        std::size_t records;
    } cases[] = {
        {"last matchday's row three times", std::string(kRepeatLast) + kRepeatLast, "2,12", 4},
        {"played matchday's row repeated too",
         std::string(kRepeatLast) + "INSERT INTO GiocaIn SELECT * FROM GiocaIn WHERE IDGiocatore = 12 AND "
                                    "Giornata = 1",
         "2,12", 2},
        {"last matchday at two clubs", "INSERT INTO GiocaIn VALUES (12, 4, 2, 122)", "2,12", 2},
        // The Primavera appearances are counted per team: the same player differs team by team.
        {"Primavera player of both teams", "INSERT INTO Tesserato VALUES (13, 1, 4, 101, -1, 0)", "1,13", 1},
        {"the same player in two roles", "INSERT INTO Tesserato VALUES (10, 1, 3, 1, -1, 0)", "1,10", 2},
    };
    options.primavera = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        env.WriteLeague(league);
        demo::ExecuteOnLeagueFile(env.LeagueFile(), c.sql);
        ASSERT_TRUE(Run(false)) << sink.Text();
        const std::vector<std::string> records = PlayerRecords(JsText());
        EXPECT_EQ(records, RecordsReadOneByOne(env, options.primavera));
        EXPECT_EQ(RecordsOf(records, c.teamAndPlayer), c.records);
    }
}

// A league as some converters write it: no index on GiocaIn, Punteggio's ID an ordinary column, and the
// rows in another order than the IDs.
constexpr const char* kDropGiocaInIndex =
    "DROP INDEX GiocaInGiocatore; CREATE TABLE Copia AS SELECT * FROM GiocaIn ORDER BY IDPunteggio DESC; "
    "DROP TABLE GiocaIn; ALTER TABLE Copia RENAME TO GiocaIn;";
constexpr const char* kDropPunteggioKey =
    "CREATE TABLE Copia AS SELECT * FROM Punteggio ORDER BY ID DESC; DROP TABLE Punteggio; "
    "ALTER TABLE Copia RENAME TO Punteggio;";

TEST(LeagueWithoutIndexes, WritesTheFilesOfTheIndexedLeagueAndLeavesTheFileAsItWas) {
    demo::DemoOptions demoOptions;
    demoOptions.teams = 4;
    const demo::LeagueData data = demo::BuildDemoLeague(demoOptions).data;
    LineupOptions options;
    options.scriptServer = "invform/invform.php";
    options.primavera = true;
    const auto run = [&](LeagueEnvironment& env) {
        MemoryLogSink sink;
        Log log(sink);
        EXPECT_TRUE(GeneraDatiInvioFormazione(options, env.Context(), log)) << sink.Text();
        return ReadBytes(env.JsFile()) + MaskHashes(ReadBytes(env.PhpFile()));
    };
    LeagueEnvironment indexed;
    indexed.WriteLeague(data);
    const std::string expected = run(indexed);
    ASSERT_GT(PlayerRecords(expected).size(), 80U);

    const struct {
        const char* name;
        std::string sql;
    } cases[] = {
        {"GiocaIn without its index", kDropGiocaInIndex},
        {"Punteggio without its key", kDropPunteggioKey},
        {"neither", std::string(kDropGiocaInIndex) + kDropPunteggioKey},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LeagueEnvironment env;
        env.WriteLeague(data);
        demo::ExecuteOnLeagueFile(env.LeagueFile(), c.sql);
        const std::string before = ReadBytes(env.LeagueFile());
        const std::vector<std::string> folder = SortedNames(env.LeagueFile().parent_path());
        EXPECT_EQ(run(env), expected);
        EXPECT_EQ(ReadBytes(env.LeagueFile()), before);
        EXPECT_EQ(SortedNames(env.LeagueFile().parent_path()), folder);
    }
}

}  // namespace
}  // namespace calvorin::test
