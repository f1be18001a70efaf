// SPDX-License-Identifier: GPL-3.0-or-later
// Plausible Serie A marks and events for the demo league's score rows.
#include "tools/demo/DemoScores.h"

#include <algorithm>

namespace calvorin::demo {

namespace {

// Half-point steps around the player's usual mark, most of them small.
int MarkStep(Rng& rng) {
    const std::int64_t roll = rng.Below(100);
    if (roll < 3) return -3;
    if (roll < 13) return -2;
    if (roll < 33) return -1;
    if (roll < 67) return 0;
    if (roll < 87) return 1;
    if (roll < 97) return 2;
    return 3;
}

int GoalChance(std::int64_t role) {
    static constexpr int chances[] = {0, 1, 5, 11, 30};
    return chances[role];
}

void AddGoals(Rng& rng, PunteggioRow& s, std::int64_t role) {
    if (!rng.Chance(GoalChance(role))) return;
    const std::int64_t goals = rng.Chance(18) ? 2 : 1;
    const std::int64_t penalties = role >= 3 && rng.Chance(15) ? 1 : 0;
    s.golFatti = {goals, goals, goals};
    s.golFattiSuRigore = {penalties, penalties, penalties};
    if (rng.Chance(6)) s.golFatti[2] = goals - 1;  // a goal the third source gives to a team-mate
    s.golVittoria = rng.Chance(35);
    s.golPareggio = !s.golVittoria && rng.Chance(15);
}

void AddGoalkeeping(Rng& rng, PunteggioRow& s) {
    const std::int64_t roll = rng.Below(100);
    s.golSubiti = roll < 30 ? 0 : roll < 65 ? 1 : roll < 87 ? 2 : 3;
    s.golSubitiSuRigore = s.golSubiti > 0 && rng.Chance(10) ? 1 : 0;
    s.rigPar = rng.Chance(3) ? 1 : 0;
}

void AddEvents(Rng& rng, PunteggioRow& s, std::int64_t role) {
    AddGoals(rng, s, role);
    if (role == 1) AddGoalkeeping(rng, s);
    if (role > 1 && rng.Chance(role == 2 ? 5 : 12)) s.assist = 1;
    if (role == 2 && rng.Chance(1)) s.autogol = {1, 1, 1};
    if (role >= 3 && rng.Chance(2)) s.rigSba = 1;
    s.amm = rng.Chance(15);
    s.esp = rng.Chance(2);
    if (rng.Chance(1)) s.valoreSpeciale = 0.5;
}

double Mark(int halfPoints) {
    return std::clamp(halfPoints, 6, 20) / 2.0;
}

}  // namespace

PunteggioRow PlayedScore(Rng& rng, Id id, const PlayerProfile& player) {
    PunteggioRow s;
    s.id = id;
    if (!rng.Chance(player.playsPercent)) return s;
    if (rng.Chance(7)) {  // came on too late for a mark
        s.voto = {kNoMarkValue, rng.Chance(70) ? kNoMarkValue : 12 / 2.0, kNoMarkValue};
        return s;
    }
    AddEvents(rng, s, player.role);
    const int half =
        12 + player.quality + MarkStep(rng) + 2 * static_cast<int>(s.golFatti[0]) - (s.esp ? 2 : 0);
    s.voto = {Mark(half), Mark(half + static_cast<int>(rng.Between(-1, 1))),
              Mark(half + static_cast<int>(rng.Between(-1, 1)))};
    if (rng.Chance(4)) s.voto[1] = kNoMarkValue;  // one newspaper gave no mark
    return s;
}

}  // namespace calvorin::demo
