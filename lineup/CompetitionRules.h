// SPDX-License-Identifier: GPL-3.0-or-later
// The settings of the default competition: bench sizes, mark sources and their rules, bonus points.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace calvorin {

class Query;

// Points per unit of each event; the per-role arrays are indexed by role 1 to 4 (element 0 unused).
struct BonusPoints {
    std::array<double, 5> golFatto{};     // PAzGolFattoP/D/C/A
    std::array<double, 5> golFattoRig{};  // PAzGolFattoRigP/D/C/A
    double golPareggio = 0, golVittoria = 0, golSubito = 0, golSubitoRigore = 0, autogol = 0;
    double assist = 0, rigSba = 0, rigPar = 0, amm = 0, esp = 0, port0Gol = 0;
};

struct CompetitionRules {
    std::int64_t id = 0;
    std::string nome;
    std::int64_t giocInPanchinaTotale = 0;
    std::array<std::int64_t, 5> giocInPanchina{};  // by role 1 to 4
    std::array<bool, 3> usaQuot{};                 // mark sources 1, 2, 3
    std::int64_t usaTabellino = 1;
    std::int64_t risVoti2VSV = 0;
    std::int64_t risVoti3VVSV = 0;
    std::int64_t risVoti3VSVSV = 0;
    BonusPoints bonus;
};

// Reads the current row of the default-competition query. Throws std::runtime_error when a column is
// missing or a bench size is out of bounds (ReadBounded).
CompetitionRules ReadCompetitionRules(const Query& row);

}  // namespace calvorin
