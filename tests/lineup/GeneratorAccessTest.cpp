// SPDX-License-Identifier: GPL-3.0-or-later
// The generator on FCM's own format: an Access copy of a league gives the same files as the SQLite one.
#include <gtest/gtest.h>

#include <filesystem>

#include "GeneratorTestSupport.h"
#include "platform/db/SharedData.h"
#include "platform/fs/Files.h"
#include "support/Command.h"
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
