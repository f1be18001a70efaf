// SPDX-License-Identifier: GPL-3.0-or-later
// One score row of a player (a matchday's marks and events) and how it becomes a mark and a fantasy mark.
#include "lineup/ScoreRow.h"

#include <cmath>
#include <string>

#include "platform/db/Database.h"

namespace calvorin {

ScoreColumns ScoreColumns::Resolve(const Query& q) {
    ScoreColumns c;
    for (int s = 0; s < 3; ++s) {
        const std::string n = std::to_string(s + 1);
        c.voto[s] = q.ColumnIndex("Voto" + n);
        c.golFatti[s] = q.ColumnIndex("GolFatti" + n);
        c.golFattiSuRigore[s] = q.ColumnIndex("GolFattiSuRigore" + n);
        c.autogol[s] = q.ColumnIndex("Autogol" + n);
    }
    c.golVittoria = q.ColumnIndex("GolVittoria");
    c.golPareggio = q.ColumnIndex("GolPareggio");
    c.valoreSpeciale = q.ColumnIndex("ValoreSpeciale");
    c.rigSba = q.ColumnIndex("RigSba");
    c.rigPar = q.ColumnIndex("RigPar");
    c.golSubiti = q.ColumnIndex("GolSubiti");
    c.golSubitiSuRigore = q.ColumnIndex("GolSubitiSuRigore");
    c.assist = q.ColumnIndex("Assist");
    c.amm = q.ColumnIndex("Amm");
    c.esp = q.ColumnIndex("Esp");
    c.giornata = q.ColumnIndex("Giornata");
    return c;
}

ScoreRow ReadScoreRow(const Query& q, const ScoreColumns& c) {
    ScoreRow r;
    r.voto[0] = q.Float(c.voto[0]);
    r.giornata = q.Integer(c.giornata);
    // Most rows of a season are matchdays the player did not play; only their matchday matters.
    if (r.voto[0] == 0) return r;
    for (int s = 0; s < 3; ++s) {
        r.voto[s] = q.Float(c.voto[s]);
        r.golFatti[s] = q.Integer(c.golFatti[s]);
        r.golFattiSuRigore[s] = q.Integer(c.golFattiSuRigore[s]);
        r.autogol[s] = q.Integer(c.autogol[s]);
    }
    r.golVittoria = q.Flag(c.golVittoria);
    r.golPareggio = q.Flag(c.golPareggio);
    r.valoreSpeciale = q.Float(c.valoreSpeciale);
    r.rigSba = q.Integer(c.rigSba);
    r.rigPar = q.Integer(c.rigPar);
    r.golSubiti = q.Integer(c.golSubiti);
    r.golSubitiSuRigore = q.Integer(c.golSubitiSuRigore);
    r.assist = q.Integer(c.assist);
    r.amm = q.Flag(c.amm);
    r.esp = q.Flag(c.esp);
    return r;
}

namespace {

std::int64_t RuleFor(const CompetitionRules& rules, int used, int present) {
    if (used == 2) return rules.risVoti2VSV;
    return present == 2 ? rules.risVoti3VVSV : rules.risVoti3VSVSV;
}

}  // namespace

// Every row of the rule table is one formula: with k marks present out of n sources, rule 0 averages
// the k marks, rule 1 counts each missing mark as 6, rule 2 gives no mark.
std::optional<double> BaseMark(const ScoreRow& row, const CompetitionRules& rules) {
    int used = 0, present = 0;
    double sum = 0;
    for (int s = 0; s < 3; ++s) {
        if (!rules.usaQuot[s]) continue;
        ++used;
        if (row.voto[s] == kNoMark) continue;
        ++present;
        sum += row.voto[s];
    }
    if (used == 0) return 0.0;
    if (present == 0) return std::nullopt;
    if (present == used) return sum / used;
    switch (RuleFor(rules, used, present)) {
        case 1:
            return (sum + 6.0 * (used - present)) / used;
        case 2:
            return std::nullopt;
        default:
            return sum / present;
    }
}

namespace {

// Counts are taken as doubles: sums and differences of any stored integers then cannot overflow, and the
// counts of a real league are exact in a double.
struct GoalCounts {
    double goals = 0, penalties = 0, ownGoals = 0;
};

double AsCount(std::int64_t count) {
    return static_cast<double>(count);
}

double RoundedAverage(const std::array<std::int64_t, 3>& counts) {
    return std::round((AsCount(counts[0]) + AsCount(counts[1]) + AsCount(counts[2])) / 3.0);
}

// UsaTabellino 1 to 3 picks a source; above 3 averages them; below 1 (never stored by FCM) reads source 1.
GoalCounts GoalsOf(const ScoreRow& row, std::int64_t usaTabellino) {
    if (usaTabellino > 3) {
        return {RoundedAverage(row.golFatti), RoundedAverage(row.golFattiSuRigore),
                RoundedAverage(row.autogol)};
    }
    const auto s = static_cast<std::size_t>(usaTabellino >= 2 ? usaTabellino - 1 : 0);
    return {AsCount(row.golFatti[s]), AsCount(row.golFattiSuRigore[s]), AsCount(row.autogol[s])};
}

double Times(double count, double points) {
    return count * points;
}

}  // namespace

double BonusPointsOf(const ScoreRow& row, const CompetitionRules& rules, std::int64_t role) {
    const BonusPoints& b = rules.bonus;
    const bool knownRole = role >= 1 && role <= 4;
    const auto r = static_cast<std::size_t>(knownRole ? role : 0);
    const GoalCounts g = GoalsOf(row, rules.usaTabellino);
    double points = 0;
    if (knownRole)
        points += Times(g.goals - g.penalties, b.golFatto[r]) + Times(g.penalties, b.golFattoRig[r]);
    points += Times(row.golVittoria, b.golVittoria) + Times(row.golPareggio, b.golPareggio);
    points += row.valoreSpeciale;
    points += Times(AsCount(row.rigSba), b.rigSba) + Times(AsCount(row.rigPar), b.rigPar) +
              Times(g.ownGoals, b.autogol);
    points += Times(AsCount(row.golSubiti) - AsCount(row.golSubitiSuRigore), b.golSubito);
    points += Times(AsCount(row.golSubitiSuRigore), b.golSubitoRigore);
    points += Times(AsCount(row.assist), b.assist) + Times(row.amm, b.amm) + Times(row.esp, b.esp);
    if (role == 1 && row.golSubiti == 0) points += b.port0Gol;
    return points;
}

}  // namespace calvorin
