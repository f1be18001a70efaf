// SPDX-License-Identifier: GPL-3.0-or-later
// Times the whole line-up generator on a 20-team demo league against 20 HashPassword calls.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "lineup/GeneraDatiInvioFormazione.h"
#include "platform/crypto/PasswordHash.h"
#include "platform/fs/Files.h"
#include "plugin/log/Log.h"
#include "support/CpuTime.h"
#include "support/TempDir.h"
#include "tools/demo/DemoEnvironment.h"
#include "tools/demo/DemoLeague.h"
#include "tools/demo/LeagueSchema.h"

namespace {

namespace fs = std::filesystem;
using namespace calvorin;

constexpr int kTeams = 20;
constexpr int kRuns = 5;

double ThreadCpuMilliseconds() {
    return test::ThreadCpuSeconds() * 1e3;
}

// Milliseconds of this thread's CPU time one call of `work` takes, from as many calls as fill a quarter
// of a second: Windows counts thread time in ticks of 10 to 16 ms, too coarse to time one call.
double CallMilliseconds(const std::function<void()>& work) {
    const double start = ThreadCpuMilliseconds();
    int calls = 0;
    double spent = 0;
    do {
        work();
        ++calls;
        spent = ThreadCpuMilliseconds() - start;
    } while (spent < 250);
    return spent / calls;
}

// Best of kRuns of each piece of work, in milliseconds of this thread's CPU time: the machine is shared,
// and wall time would count the time other processes hold the cores; the best run is the least disturbed
// one. The pieces take turns, so a slow spell of the machine weighs on all of them alike.
std::vector<double> BestMilliseconds(const std::vector<std::function<void()>>& works) {
    std::vector<double> best(works.size(), 1e300);
    for (int run = 0; run < kRuns; ++run) {
        for (std::size_t i = 0; i < works.size(); ++i)
            best[i] = std::min(best[i], CallMilliseconds(works[i]));
    }
    return best;
}

std::function<void()> Generator(const PluginContext& context, const LineupOptions& options) {
    return [&context, &options] {
        MemoryLogSink sink;
        Log log(sink);
        if (!GeneraDatiInvioFormazione(options, context, log)) throw std::runtime_error(sink.Text());
    };
}

int Run() {
    const test::TempDir scratch;
    const fs::path& root = scratch.path();
    demo::DemoOptions demoOptions;
    demoOptions.teams = kTeams;
    demoOptions.playersPerTeam = 30;
    const demo::DemoLeague league = demo::BuildDemoLeague(demoOptions);
    const demo::DemoPaths paths = demo::WriteDemoEnvironment(root, league, demo::LeagueFormat::Sqlite);

    PluginContext context;
    context.Version = "2.4.0";
    context.LeagueFile = PathText(paths.leagueFile);
    context.FcmFolder = PathText(paths.fcmFolder);
    context.SiteFolder = PathText(paths.siteFolder);
    LineupOptions options;
    options.scriptServer = "invform/invform.php";
    options.primavera = true;
    options.controllaOrario = true;

    PluginContext accessContext = context;
    const fs::path mdb = demo::DemoLayout(root, demo::LeagueFormat::Access).leagueFile;
    demo::WriteLeagueMdb(league.data, mdb);
    accessContext.LeagueFile = PathText(mdb);

    const auto hashes = [] {
        for (int i = 0; i < kTeams; ++i) HashPassword("password della squadra");
    };
    const std::vector<double> best =
        BestMilliseconds({hashes, Generator(context, options), Generator(accessContext, options)});
    const double floor = best[0], sqlite = best[1], access = best[2];
    std::printf("demo league: %d teams x 30 players, 38 matchdays\n", kTeams);
    std::printf("20 x HashPassword (floor):      %8.1f ms\n", floor);
    std::printf("generator, SQLite league file:  %8.1f ms  (%.2fx the floor, target <= 2x)\n", sqlite,
                sqlite / floor);
    std::printf(
        "generator, Access league file:  %8.1f ms  (%.2fx the floor, target <= 2.5x, reading the file "
        "included)\n",
        access, access / floor);
    return 0;
}

}  // namespace

int main() {
    try {
        return Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
