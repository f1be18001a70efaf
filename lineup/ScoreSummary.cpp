// SPDX-License-Identifier: GPL-3.0-or-later
// The season record shown beside each player on the submission page, as one "%"-separated text.
#include "lineup/ScoreSummary.h"

#include <optional>

#include "lineup/LeagueQueries.h"
#include "platform/db/Database.h"
#include "platform/text/Decimal.h"

namespace calvorin {

std::string FormatMark(double value) {
    return FormatDecimal(value, 3);
}

namespace {

constexpr std::string_view kNoData = "---%0%---%0";
constexpr std::string_view kNoMarkInMatchday = "sv/ng%0%sv/ng%0";

struct Totals {
    std::int64_t counted = 0;
    std::int64_t marked = 0;
    double markSum = 0;
    double fantasySum = 0;
    std::string last = std::string(kNoData);
};

std::string MarkAndClass(double mark, unsigned markClass) {
    return FormatMark(mark) + "%" + std::to_string(markClass);
}

void AddRow(Totals& totals, const ScoreRow& row, std::int64_t role, const SummaryContext& context) {
    std::optional<double> mark;
    double fantasy = 0;
    if (row.voto[0] != 0) {
        ++totals.counted;
        mark = BaseMark(row, context.rules);
        if (mark) {
            fantasy = *mark + BonusPointsOf(row, context.rules, role);
            totals.markSum += *mark;
            totals.fantasySum += fantasy;
            ++totals.marked;
        }
    }
    if (row.giornata != context.lastPlayedMatchday) return;
    if (!mark) {
        totals.last = std::string(kNoMarkInMatchday);
        return;
    }
    const unsigned fantasyClass = context.thresholds.ClassOf(ThresholdGroup::LastFantasyMark, role, fantasy);
    totals.last = MarkAndClass(*mark, 0) + "%" + MarkAndClass(fantasy, fantasyClass);
}

// Rounded half up in integers: 1 of 8 is 12.5 %, written 13. Wide enough for any number of rows.
std::int64_t Percentage(std::int64_t part, std::int64_t whole) {
    return (part * 200 + whole) / (2 * whole);
}

}  // namespace

std::string SummarizeScores(const std::vector<ScoreRow>& rows, std::int64_t role,
                            std::string_view primaveraText, const SummaryContext& context) {
    Totals totals;
    for (const ScoreRow& row : rows) AddRow(totals, row, role, context);
    std::int64_t percentage = 0;
    std::string season(kNoData);
    if (totals.counted > 0 && totals.marked > 0) {
        percentage = Percentage(totals.marked, totals.counted);
        const double mark = totals.markSum / static_cast<double>(totals.marked);
        const double fantasy = totals.fantasySum / static_cast<double>(totals.marked);
        const ColorThresholds& t = context.thresholds;
        season = MarkAndClass(mark, t.ClassOf(ThresholdGroup::AverageMark, role, mark)) + "%" +
                 MarkAndClass(fantasy, t.ClassOf(ThresholdGroup::AverageFantasyMark, role, fantasy));
    }
    return std::to_string(percentage) + "%" + std::string(primaveraText) + "%" + season + "%" + totals.last;
}

Query& ScoreQueries::Scores() {
    if (!scores_) {
        scores_.emplace(db_.Prepare(queries::kPunteggi));
        columns_ = ScoreColumns::Resolve(*scores_);
    }
    return *scores_;
}

Query* ScoreQueries::Primavera() {
    if (!primaveraShown_) return nullptr;
    if (!primavera_) primavera_.emplace(db_.Prepare(queries::kPresenzePrimavera));
    return &*primavera_;
}

std::string RiepilogoGiocatore(ScoreQueries& queries, std::int64_t playerId, std::int64_t fantasyTeam,
                               std::int64_t role, bool isPrimavera, const SummaryContext& context) {
    std::vector<ScoreRow> rows;
    Query& scores = queries.Scores();
    scores.Bind(1, playerId).Bind(2, context.lastPlayedMatchday);
    while (scores.Next()) rows.push_back(ReadScoreRow(scores, queries.Columns()));
    scores.Reset();
    std::string primaveraText;
    if (Query* q = isPrimavera ? queries.Primavera() : nullptr) {
        q->Bind(1, playerId).Bind(2, fantasyTeam);
        if (q->Next()) primaveraText = q->Text("PresenzePrimavera");
        q->Reset();
    }
    return SummarizeScores(rows, role, primaveraText, context);
}

const std::string& SummaryCache::Of(std::int64_t playerId, std::int64_t fantasyTeam, std::int64_t role,
                                    bool isPrimavera) {
    const auto key = std::make_tuple(playerId, fantasyTeam, role, isPrimavera);
    auto it = done_.find(key);
    if (it == done_.end())
        it = done_
                 .emplace(key,
                          RiepilogoGiocatore(queries_, playerId, fantasyTeam, role, isPrimavera, context_))
                 .first;
    return it->second;
}

}  // namespace calvorin
