// SPDX-License-Identifier: GPL-3.0-or-later
// The season record shown beside each player on the submission page, as one "%"-separated text.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "lineup/ColorThresholds.h"
#include "lineup/CompetitionRules.h"
#include "lineup/ScoreRow.h"
#include "platform/db/Database.h"

namespace calvorin {

// What the summary needs besides the score rows.
struct SummaryContext {
    const CompetitionRules& rules;
    const ColorThresholds& thresholds;
    std::int64_t lastPlayedMatchday = 0;
};

// Returns the ten-field summary of a player of `role` from all his score rows: percentage of marked
// rows, `primaveraText` (empty when not shown), average mark and fantasy mark with their classes, mark
// and fantasy mark of the last played matchday. Numbers always use a decimal point.
std::string SummarizeScores(const std::vector<ScoreRow>& rows, std::int64_t role,
                            std::string_view primaveraText, const SummaryContext& context);

// The score queries of a run, each prepared when the first player needs it and reused for the others: a
// league without a table that no player needs (Formazione when nobody is Primavera) still gives its files.
class ScoreQueries {
  public:
    ScoreQueries(Database& db, bool primaveraShown) : db_(db), primaveraShown_(primaveraShown) {}

    // Bound with the player's ID and the last played matchday.
    Query& Scores();
    const ScoreColumns& Columns() const { return columns_; }
    // Bound with the player's ID and fantasy team; null when Primavera appearances are not shown.
    Query* Primavera();

  private:
    Database& db_;
    bool primaveraShown_;
    std::optional<Query> scores_, primavera_;
    ScoreColumns columns_;
};

// Runs the score query (and the Primavera query when given and `isPrimavera`) for one player and returns
// his summary. Throws std::runtime_error on a database error.
std::string RiepilogoGiocatore(ScoreQueries& queries, std::int64_t playerId, std::int64_t fantasyTeam,
                               std::int64_t role, bool isPrimavera, const SummaryContext& context);

// The summaries of a run, each worked out once. The players query gives a player once per GiocaIn row of
// the last matchday: a league repeating that row would otherwise read his whole season again for each.
class SummaryCache {
  public:
    SummaryCache(ScoreQueries& queries, const SummaryContext& context)
        : queries_(queries), context_(context) {}

    // The summary RiepilogoGiocatore gives for these arguments, run only the first time they are asked.
    const std::string& Of(std::int64_t playerId, std::int64_t fantasyTeam, std::int64_t role,
                          bool isPrimavera);

  private:
    ScoreQueries& queries_;
    const SummaryContext& context_;
    std::map<std::tuple<std::int64_t, std::int64_t, std::int64_t, bool>, std::string> done_;
};

// Writes a number with three decimals and a point, whatever the locale, halves rounded away from zero.
std::string FormatMark(double value);

}  // namespace calvorin
