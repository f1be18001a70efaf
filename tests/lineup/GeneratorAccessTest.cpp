// SPDX-License-Identifier: GPL-3.0-or-later
// The generator on FCM's own format: an Access copy of a league gives the same files as the SQLite one.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "GeneratorTestSupport.h"
#include "platform/db/SharedData.h"
#include "platform/fs/Files.h"
#include "tools/demo/DemoLeague.h"
#include "tools/demo/LeagueSchema.h"

namespace calvorin::test {
namespace {

namespace fs = std::filesystem;

struct RunFiles {
    std::string js, php, log;
};

RunFiles RunOn(LeagueEnvironment& env, const fs::path& leagueFile, const LineupOptions& options) {
    env.Context().LeagueFile = PathText(leagueFile);
    MemoryLogSink sink;
    Log log(sink);
    const bool ok = GeneraDatiInvioFormazione(options, env.Context(), log);
    EXPECT_TRUE(ok) << sink.Text();
    return {ReadBytes(env.JsFile()), ReadBytes(env.PhpFile()), sink.Text()};
}

class GeneratorOnAccess : public testing::Test {
  protected:
    void SetUp() override {
        options.scriptServer = "invform/invform.php";
        options.primavera = true;
        options.controllaOrario = true;
    }

    // The Access copy of the league file written so far, beside it.
    fs::path AccessCopy() {
        fs::path mdb = env.Root() / "FCM" / "Leghe" / "Lega-1-2024.mdb";
        WriteMdbCopy(env.LeagueFile(), mdb);
        return mdb;
    }

    // Writes the league as SQLite and as its Access copy, runs the generator on both and compares.
    void ExpectSameFiles(const demo::LeagueData& league) {
        env.WriteLeague(league);
        const fs::path mdb = AccessCopy();
        const RunFiles sqlite = RunOn(env, env.LeagueFile(), options);
        const RunFiles access = RunOn(env, mdb, options);
        EXPECT_EQ(access.js, sqlite.js);
        EXPECT_EQ(MaskHashes(access.php), MaskHashes(sqlite.php));
        EXPECT_EQ(HashesIn(access.php).size(), league.fantasquadre.size());
        EXPECT_GT(sqlite.js.size(), 1000u);
    }

    LeagueEnvironment env;
    LineupOptions options;
};

TEST_F(GeneratorOnAccess, SmallLeagueGivesTheSameFiles) {
    demo::LeagueData league = SmallLeague();
    league.fantasquadre[0].nome = "Città dell'Òlimpo";
    ExpectSameFiles(league);
}

TEST_F(GeneratorOnAccess, DemoLeagueGivesTheSameFiles) {
    demo::DemoOptions demoOptions;
    demoOptions.teams = 4;
    demoOptions.seed = 7;
    ExpectSameFiles(demo::BuildDemoLeague(demoOptions).data);
}

TEST_F(GeneratorOnAccess, TicksStoredAsMinusOneCountAsTicks) {
    env.WriteLeague(SmallLeague());
    const RunFiles ticksAsOne = RunOn(env, env.LeagueFile(), options);
    StoreTicksAsMinusOne(env.LeagueFile());  // integer columns, so the -1 reaches the Access file as it is
    const RunFiles access = RunOn(env, AccessCopy(), options);
    EXPECT_EQ(access.js, ticksAsOne.js);
    EXPECT_EQ(MaskHashes(access.php), MaskHashes(ticksAsOne.php));
}

TEST_F(GeneratorOnAccess, FormazioneIsOnlyNeededForPrimaveraPlayers) {
    demo::LeagueData league = SmallLeague();
    league.tesserati[3].annoDiContratto = 1;
    env.WriteLeague(league);
    demo::ExecuteOnLeagueFile(env.LeagueFile(), "DROP TABLE Formazione");
    const RunFiles access = RunOn(env, AccessCopy(), options);
    EXPECT_NE(access.js.find("a[3]=new ifG(2,13,4,4,\"0%%---%0%---%0%sv/ng%0%sv/ng%0\");"), std::string::npos)
        << access.js;
}

// The IDs of one team's players of one role, in the order the line-up data file lists them.
std::vector<demo::Id> PlayersOf(const std::string& js, demo::Id team, std::int64_t role) {
    static const std::regex player(R"(new ifG\((\d+),(\d+),(\d+),)");
    std::vector<demo::Id> ids;
    for (auto it = std::sregex_iterator(js.begin(), js.end(), player); it != std::sregex_iterator(); ++it)
        if (std::stoll((*it)[1]) == team && std::stoll((*it)[3]) == role) ids.push_back(std::stoll((*it)[2]));
    return ids;
}

TEST_F(GeneratorOnAccess, PlayersOfARoleComeInAccessNameOrderOnBothRoutes) {
    // Access's order: case and accents only after the letters, the apostrophe left out. Byte order would
    // give Abate, D'Ambrosio, Dalbert, Difensore, Kone, Koné, Núñez, Zola, de Rossi, Çelik.
    const std::vector<std::pair<demo::Id, std::string>> accessOrder = {
        {24, "Abate"}, {21, "Çelik"}, {26, "Dalbert"}, {25, "D'Ambrosio"}, {22, "de Rossi"},
        {11, ""},      {27, "Kone"},  {28, "Koné"},    {23, "Núñez"},      {20, "Zola"}};
    demo::LeagueData league = SmallLeague();  // its player 11 is "Difensore B.", defender of team 1
    for (const auto& [id, name] : accessOrder) {
        if (name.empty()) continue;
        league.giocatori.push_back({id, name});
        demo::TesseratoRow t;
        t.idGiocatore = id;
        t.idSquadra = 1;
        t.ruolo = 2;
        league.tesserati.push_back(t);
        for (std::int64_t matchday = 1; matchday <= 2; ++matchday) {
            league.giocaIn.push_back({id, 1, matchday, id * 10 + matchday});
            demo::PunteggioRow score;
            score.id = id * 10 + matchday;
            league.punteggi.push_back(score);
        }
    }
    env.WriteLeague(league);
    const fs::path mdb = AccessCopy();
    std::vector<demo::Id> expected;
    expected.reserve(accessOrder.size());
    for (const auto& entry : accessOrder) expected.push_back(entry.first);
    EXPECT_EQ(PlayersOf(RunOn(env, env.LeagueFile(), options).js, 1, 2), expected);
    EXPECT_EQ(PlayersOf(RunOn(env, mdb, options).js, 1, 2), expected);
}

TEST_F(GeneratorOnAccess, MissingTableFailsWithTheDatabaseMessage) {
    demo::LeagueData league = SmallLeague();
    env.WriteLeague(league);
    demo::ExecuteOnLeagueFile(env.LeagueFile(), "DROP TABLE Formazione");
    const fs::path mdb = AccessCopy();
    env.Context().LeagueFile = PathText(mdb);
    MemoryLogSink sink;
    Log log(sink);
    EXPECT_FALSE(GeneraDatiInvioFormazione(options, env.Context(), log));
    EXPECT_NE(sink.LastLine().find("KO: "), std::string::npos) << sink.Text();
    EXPECT_FALSE(fs::exists(env.JsFile()));
}

}  // namespace
}  // namespace calvorin::test
