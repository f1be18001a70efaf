// SPDX-License-Identifier: GPL-3.0-or-later
// One score row of a player (a matchday's marks and events) and how it becomes a mark and a fantasy mark.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "lineup/CompetitionRules.h"

namespace calvorin {

class Query;

// A mark of this value means the source gave the player no mark.
inline constexpr double kNoMark = -1.0;

struct ScoreRow {
    std::array<double, 3> voto{};  // Voto1..3
    std::array<std::int64_t, 3> golFatti{}, golFattiSuRigore{}, autogol{};
    bool golVittoria = false, golPareggio = false;
    double valoreSpeciale = 0;
    std::int64_t rigSba = 0, rigPar = 0, golSubiti = 0, golSubitiSuRigore = 0, assist = 0;
    bool amm = false, esp = false;
    std::int64_t giornata = 0;
};

// Positions of the score columns in the result of the score query, resolved once per run.
struct ScoreColumns {
    // Throws std::runtime_error naming the first column the result lacks.
    static ScoreColumns Resolve(const Query& query);

    std::array<int, 3> voto{}, golFatti{}, golFattiSuRigore{}, autogol{};
    int golVittoria = 0, golPareggio = 0, valoreSpeciale = 0, rigSba = 0, rigPar = 0, golSubiti = 0;
    int golSubitiSuRigore = 0, assist = 0, amm = 0, esp = 0, giornata = 0;
};

// Reads the current row of the score query. A row whose Voto1 is 0 counts for nothing but its matchday,
// so only Voto1 and Giornata are read from it.
ScoreRow ReadScoreRow(const Query& query, const ScoreColumns& columns);

// Returns the base mark of a counted row under the competition's source rules, or nothing when the
// player gets no mark for the matchday. Rule codes other than 1 and 2 act as 0.
std::optional<double> BaseMark(const ScoreRow& row, const CompetitionRules& rules);

// Returns the bonus points of the row's events for a player of the role (1 goalkeeper to 4 forward).
// A role outside 1 to 4 earns no per-role points.
double BonusPointsOf(const ScoreRow& row, const CompetitionRules& rules, std::int64_t role);

}  // namespace calvorin
