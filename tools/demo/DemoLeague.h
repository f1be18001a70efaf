// SPDX-License-Identifier: GPL-3.0-or-later
// A whole demo league built from a seed: clubs, fixtures, players, marks, fantasy teams and line-ups.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/demo/LeagueData.h"

namespace calvorin::demo {

struct DemoOptions {
    int teams = 8;
    std::uint64_t seed = 1;
    int playersPerTeam = 0;    // 25 to 30; 0 draws a size from 25 to 30 for each team
    int playedMatchdays = 14;  // of 38
};

struct TeamPassword {
    Id team = 0;
    std::string password;
};

struct DemoLeague {
    LeagueData data;
    std::vector<TeamPassword> passwords;  // the plain passwords kept in Telef2, team by team
};

// Returns the league; the same options always give the same league. Throws std::invalid_argument when
// the team count is not 1 to 99 or the player count not 0 or 25 to 30.
DemoLeague BuildDemoLeague(const DemoOptions& options);

// The Serie A fixtures of `clubs` (even) clubs: a double round robin, the second half with home and away
// swapped. Matchday m of the first half and m + clubs - 1 of the second hold the same pairs.
std::vector<IncontraInARow> DoubleRoundRobin(int clubs);

}  // namespace calvorin::demo
