// SPDX-License-Identifier: GPL-3.0-or-later
// Plausible Serie A marks and events for the demo league's score rows.
#pragma once

#include <cstdint>

#include "tools/demo/LeagueData.h"
#include "tools/demo/Rng.h"

namespace calvorin::demo {

// A Serie A player as the score generator sees him.
struct PlayerProfile {
    std::int64_t role = 1;  // 1 goalkeeper .. 4 forward
    int quality = 0;        // half points added to his usual mark, -1 to +2
    int playsPercent = 70;  // chance of playing a matchday
};

// Returns the score row `id` of a played matchday: not played (Voto1 0), no mark (-1), or marks from
// three sources with goals, assists, bookings and, for goalkeepers, goals conceded.
PunteggioRow PlayedScore(Rng& rng, Id id, const PlayerProfile& player);

}  // namespace calvorin::demo
