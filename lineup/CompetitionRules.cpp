// SPDX-License-Identifier: GPL-3.0-or-later
// The settings of the default competition: bench sizes, mark sources and their rules, bonus points.
#include "lineup/CompetitionRules.h"

#include "lineup/LeagueValueBounds.h"
#include "platform/db/Database.h"

namespace calvorin {

namespace {

constexpr const char* kRoleLetters[] = {"", "P", "D", "C", "A"};

BonusPoints ReadBonus(const Query& row) {
    BonusPoints b;
    for (int role = 1; role <= 4; ++role) {
        b.golFatto[role] = row.Float(std::string("PAzGolFatto") + kRoleLetters[role]);
        b.golFattoRig[role] = row.Float(std::string("PAzGolFattoRig") + kRoleLetters[role]);
    }
    b.golPareggio = row.Float("PAzGolPareggio");
    b.golVittoria = row.Float("PAzGolVittoria");
    b.golSubito = row.Float("PAzGolSubito");
    b.golSubitoRigore = row.Float("PAzGolSubitoRigore");
    b.autogol = row.Float("PAzAutogol");
    b.assist = row.Float("PAzAssist");
    b.rigSba = row.Float("PAzRigSba");
    b.rigPar = row.Float("PAzRigPar");
    b.amm = row.Float("PAzAmm");
    b.esp = row.Float("PAzEsp");
    b.port0Gol = row.Float("PAzPort0Gol");
    return b;
}

}  // namespace

CompetitionRules ReadCompetitionRules(const Query& row) {
    CompetitionRules r;
    r.id = row.Integer("ID");
    r.nome = row.Text("Nome");
    r.giocInPanchinaTotale = ReadBounded(row, "GiocInPanchinaTotale", bounds::kGiocInPanchinaTotale);
    for (int role = 1; role <= 4; ++role) {
        const ColumnBounds& bench = bounds::kGiocInPanchina[role - 1];
        r.giocInPanchina[role] = ReadBounded(row, bench.column, bench);
    }
    for (int source = 0; source < 3; ++source) {
        r.usaQuot[source] = row.Flag("UsaQuot" + std::to_string(source + 1));
    }
    r.usaTabellino = row.Integer("UsaTabellino");
    r.risVoti2VSV = row.Integer("RisVoti2VSV");
    r.risVoti3VVSV = row.Integer("RisVoti3VVSV");
    r.risVoti3VSVSV = row.Integer("RisVoti3VSVSV");
    r.bonus = ReadBonus(row);
    return r;
}

}  // namespace calvorin
