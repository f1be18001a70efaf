// SPDX-License-Identifier: GPL-3.0-or-later
// The generator on FCM's own format: an Access copy of a league gives the same files as the SQLite one.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fs/Files.h"
#include "support/Command.h"
#include "tests/lineup/GeneratorTestSupport.h"
#include "tools/demo/DemoLeague.h"
#include "tools/demo/LeagueSchema.h"

namespace calvorin::test {
namespace {

namespace fs = std::filesystem;

const fs::path kJetWriter = fs::path(CALVORIN_SHARED_DIR) / "tools" / "jetwriter.py";

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
        if (!fs::exists(kJetWriter)) GTEST_SKIP() << "the shared test data (" << kJetWriter << ") is absent";
        if (!HaveProgram("python3")) GTEST_SKIP() << "python3 is not installed";
        options.scriptServer = "invform/invform.php";
        options.primavera = true;
        options.controllaOrario = true;
    }

    // Writes the league as SQLite and as its Access copy, runs the generator on both and compares.
    void ExpectSameFiles(const demo::LeagueData& league) {
        env.WriteLeague(league);
        const fs::path mdb = env.Root() / "FCM" / "Leghe" / "Lega-1-2024.mdb";
        const CommandResult convert = RunCommand("python3 " + ShellQuote(kJetWriter) + " " +
                                                 ShellQuote(env.LeagueFile()) + " " + ShellQuote(mdb));
        ASSERT_EQ(convert.exitCode, 0) << convert.output;
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

TEST_F(GeneratorOnAccess, MissingTableFailsWithTheDatabaseMessage) {
    demo::LeagueData league = SmallLeague();
    env.WriteLeague(league);
    const fs::path mdb = env.Root() / "FCM" / "Leghe" / "Lega-1-2024.mdb";
    demo::ExecuteOnLeagueFile(env.LeagueFile(), "DROP TABLE Formazione");
    ASSERT_EQ(RunCommand("python3 " + ShellQuote(kJetWriter) + " " + ShellQuote(env.LeagueFile()) + " " +
                         ShellQuote(mdb))
                  .exitCode,
              0);
    env.Context().LeagueFile = PathText(mdb);
    MemoryLogSink sink;
    Log log(sink);
    EXPECT_FALSE(GeneraDatiInvioFormazione(options, env.Context(), log));
    EXPECT_NE(sink.LastLine().find("KO: "), std::string::npos) << sink.Text();
    EXPECT_FALSE(fs::exists(env.JsFile()));
}

}  // namespace
}  // namespace calvorin::test
