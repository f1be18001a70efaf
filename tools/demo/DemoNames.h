// SPDX-License-Identifier: GPL-3.0-or-later
// Names for the demo league: Serie A clubs, players and fantasy teams.
#pragma once

#include <string>
#include <vector>

#include "tools/demo/Rng.h"

namespace calvorin::demo {

// The twenty club names, club 1 first.
const std::vector<std::string>& SerieAClubNames();

// Returns `count` different player names ("Surname I."), some with accents and apostrophes.
std::vector<std::string> PlayerNames(Rng& rng, std::size_t count);

// Returns the name of fantasy team n (1-based); beyond the built-in list a number is added.
std::string FantasyTeamName(std::size_t n);

}  // namespace calvorin::demo
