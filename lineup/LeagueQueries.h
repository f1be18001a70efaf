// SPDX-License-Identifier: GPL-3.0-or-later
// The queries the line-up generator runs on the league database, in the order it runs them.
#pragma once

#include <string>
#include <vector>

#include "platform/db/IndexedLookup.h"

namespace calvorin::queries {

// A ticked yes/no is -1 in Access and in many leagues converted from it, 1 in others: every test of one
// counts any non-zero value as true, and a NULL as false.

inline constexpr const char* kLega = "SELECT Nome FROM Lega";
inline constexpr const char* kCompetizione = "SELECT * FROM Competizione WHERE Predefinita <> 0";
inline constexpr const char* kModuliAmmessi =
    "SELECT NumDife, NumCent, NumAtta FROM Modulo M INNER JOIN ModuloAmmesso MA ON (M.ID = MA.IDModulo) "
    "WHERE MA.IDCompetizione = ?";
inline constexpr const char* kFantasquadre = "SELECT ID, Nome, Telef2, EMail, PresGioc FROM Fantasquadra";
inline constexpr const char* kDimensioniCalendario =
    "SELECT MAX(IDCasa) AS MaxC, MAX(IDFuori) AS MaxF, MAX(Giornata) AS MaxG FROM IncontraInA";
inline constexpr const char* kCalendario =
    "SELECT IDCasa, IDFuori, Giornata FROM IncontraInA ORDER BY IDCasa, Giornata";
inline constexpr const char* kUltimaGiornataGiocata =
    "SELECT MAX(Giornata) AS MaxG FROM GiornataDiA WHERE Giocata <> 0";
// SQLite names both IDSquadra columns "IDSquadra": the aliases give them the names Access gives.
inline constexpr const char* kGiocatori =
    "SELECT T.IDSquadra AS \"T.IDSquadra\", G.ID, T.Ruolo, G.Nome, GI.IDSquadra AS \"GI.IDSquadra\", "
    "(T.AnnoDiContratto > 100) AS Primavera "
    "FROM (GiocatoreA G INNER JOIN Tesserato T ON G.ID = T.IDGiocatore) "
    "INNER JOIN GiocaIn GI ON G.ID = GI.IDGiocatore "
    "WHERE ((T.InizioInfortunio = -1) AND (IFNULL(T.Venduto, 0) = 0) AND "
    "(GI.Giornata = (SELECT Max(Giornata) FROM GiornataDiA))) "
    "ORDER BY T.IDSquadra, T.Ruolo, G.Nome COLLATE ACCESS";
// Bound with the player and the last played matchday. A row whose Voto1 is 0 counts only when it is of
// the last played matchday; leaving the others out spares decoding most rows of a season.
inline constexpr const char* kPunteggi =
    "SELECT * FROM Punteggio INNER JOIN GiocaIn ON Punteggio.ID = GiocaIn.IDPunteggio "
    "WHERE GiocaIn.IDGiocatore = ? AND (Punteggio.Voto1 <> 0 OR GiocaIn.Giornata = ?)";
inline constexpr const char* kPresenzePrimavera =
    "SELECT COUNT(IDGioc) AS PresenzePrimavera FROM Formazione "
    "WHERE (IDGioc = ?) AND (IDSquadra = ?) AND (Entrato <> 0)";

// Tables copied from an Access league file: the ones the queries above read.
inline const std::vector<std::string>& LeagueTables() {
    static const std::vector<std::string> tables = {
        "Lega",        "Competizione", "Modulo",    "ModuloAmmesso", "Fantasquadra", "IncontraInA",
        "GiornataDiA", "GiocatoreA",   "Tesserato", "GiocaIn",       "Punteggio",    "Formazione"};
    return tables;
}

// The index the per-player score query needs: it covers every GiocaIn column, so each score row costs one
// index step and one Punteggio lookup. Our SQLite league files are written with it.
inline constexpr const char* kIndiceGiocaIn =
    "CREATE INDEX IF NOT EXISTS GiocaInGiocatore ON GiocaIn(IDGiocatore, IDPunteggio, Giornata, IDSquadra)";

// The lookups the score query repeats for every player, indexed for the run when the league file lacks
// the index: the one above on GiocaIn, and Punteggio by its ID.
inline const std::vector<IndexedLookup>& ScoreLookups() {
    static const std::vector<IndexedLookup> lookups = {
        {"GiocaIn", {"IDGiocatore", "IDPunteggio", "Giornata", "IDSquadra"}}, {"Punteggio", {"ID"}}};
    return lookups;
}

}  // namespace calvorin::queries
