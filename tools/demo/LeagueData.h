// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of a league database, as the demo tool and the test fixtures build them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace calvorin::demo {

using Id = std::int64_t;

// A competition with ordinary Italian rules: one mark source, +3 a goal, -1 a goal conceded.
struct CompetizioneRow {
    Id id = 1;
    std::string nome = "Campionato";
    bool predefinita = true;
    std::int64_t giocInPanchinaTotale = 7;
    std::array<std::int64_t, 4> giocInPanchina{1, 2, 2, 2};  // P, D, C, A
    std::array<bool, 3> usaQuot{true, false, false};
    std::int64_t usaTabellino = 1, risVoti2VSV = 0, risVoti3VVSV = 0, risVoti3VSVSV = 0;
    std::array<double, 4> pAzGolFatto{3, 3, 3, 3};     // P, D, C, A
    std::array<double, 4> pAzGolFattoRig{3, 3, 3, 3};  // P, D, C, A
    double pAzGolPareggio = 0, pAzGolVittoria = 0, pAzGolSubito = -1, pAzGolSubitoRigore = -1;
    double pAzAutogol = -2, pAzAssist = 1, pAzRigSba = -3, pAzRigPar = 3, pAzAmm = -0.5, pAzEsp = -1;
    double pAzPort0Gol = 0;
};

struct ModuloRow {
    Id id = 0;
    std::int64_t numDife = 0, numCent = 0, numAtta = 0;
};

struct ModuloAmmessoRow {
    Id idModulo = 0, idCompetizione = 0;
};

struct FantasquadraRow {
    Id id = 0;
    std::string nome, telef2, eMail;
    bool presGioc = false;
};

struct IncontraInARow {
    Id idCasa = 0, idFuori = 0;
    std::int64_t giornata = 0;
};

struct GiornataDiARow {
    std::int64_t giornata = 0;
    bool giocata = false;
};

struct GiocatoreARow {
    Id id = 0;
    std::string nome;
};

struct TesseratoRow {
    Id idGiocatore = 0, idSquadra = 0;
    std::int64_t ruolo = 1, annoDiContratto = 1, inizioInfortunio = -1;
    bool venduto = false;
};

struct GiocaInRow {
    Id idGiocatore = 0, idSquadra = 0;
    std::int64_t giornata = 0;
    Id idPunteggio = 0;
};

// A matchday's score; a Voto of -1 means no mark from that source, Voto1 of 0 that the player did not play.
// The Voto of a source that gave no mark.
inline constexpr double kNoMarkValue = -1.0;

struct PunteggioRow {
    Id id = 0;
    std::array<double, 3> voto{};
    std::array<std::int64_t, 3> golFatti{}, golFattiSuRigore{}, autogol{};
    bool golVittoria = false, golPareggio = false;
    double valoreSpeciale = 0;
    std::int64_t rigSba = 0, rigPar = 0, golSubiti = 0, golSubitiSuRigore = 0, assist = 0;
    bool amm = false, esp = false;
};

struct FormazioneRow {
    Id idGioc = 0, idSquadra = 0;
    bool entrato = false;
};

struct LeagueData {
    std::vector<std::string> lega;  // Nome of each row
    std::vector<CompetizioneRow> competizioni;
    std::vector<ModuloRow> moduli;
    std::vector<ModuloAmmessoRow> moduliAmmessi;
    std::vector<FantasquadraRow> fantasquadre;
    std::vector<IncontraInARow> incontri;
    std::vector<GiornataDiARow> giornate;
    std::vector<GiocatoreARow> giocatori;
    std::vector<TesseratoRow> tesserati;
    std::vector<GiocaInRow> giocaIn;
    std::vector<PunteggioRow> punteggi;
    std::vector<FormazioneRow> formazioni;
};

}  // namespace calvorin::demo
