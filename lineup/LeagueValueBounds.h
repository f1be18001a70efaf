// SPDX-License-Identifier: GPL-3.0-or-later
// The values a league column may hold when it sizes or indexes anything, and the one read that checks them.
#pragma once

#include <cstdint>
#include <string_view>

namespace calvorin {

class Query;

// A column of a league table and the integers it may hold. A NULL reads as 0, as every league value does.
struct ColumnBounds {
    std::string_view table;
    std::string_view column;
    std::int64_t min = 0;
    std::int64_t max = 0;
};

// Returns the integer of `resultColumn` in the current row of `row`. Throws std::runtime_error
// "Valore non valido nella tabella <table>, colonna <column>: <value>" (the value as read, or NULL) when
// it lies outside the bounds.
std::int64_t ReadBounded(const Query& row, std::string_view resultColumn, const ColumnBounds& bounds);

namespace bounds {

// The fixture file encodes an away match as 100 + club, so clubs go from 1 to 99; a season has 38 matchdays.
inline constexpr std::int64_t kMaxClub = 99;
inline constexpr std::int64_t kMaxMatchday = 38;
// Access identifiers are Long Integers.
inline constexpr std::int64_t kMaxId = 2147483647;
// The submission page loops over bench places; no bench comes near a hundred players.
inline constexpr std::int64_t kMaxBench = 99;
// Defenders, midfielders and forwards of a formation are at most the ten outfield players.
inline constexpr std::int64_t kMaxOutfield = 10;

inline constexpr ColumnBounds kGiocInPanchinaTotale{"Competizione", "GiocInPanchinaTotale", 0, kMaxBench};
inline constexpr ColumnBounds kGiocInPanchina[] = {
    {"Competizione", "GiocInPanchinaP", 0, kMaxBench},
    {"Competizione", "GiocInPanchinaD", 0, kMaxBench},
    {"Competizione", "GiocInPanchinaC", 0, kMaxBench},
    {"Competizione", "GiocInPanchinaA", 0, kMaxBench},
};
inline constexpr ColumnBounds kNumDife{"Modulo", "NumDife", 0, kMaxOutfield};
inline constexpr ColumnBounds kNumCent{"Modulo", "NumCent", 0, kMaxOutfield};
inline constexpr ColumnBounds kNumAtta{"Modulo", "NumAtta", 0, kMaxOutfield};
inline constexpr ColumnBounds kFantasquadraId{"Fantasquadra", "ID", 1, kMaxId};

// The maxima of the fixture table: 0 (NULL) when it is empty.
inline constexpr ColumnBounds kMaxIDCasa{"IncontraInA", "IDCasa", 0, kMaxClub};
inline constexpr ColumnBounds kMaxIDFuori{"IncontraInA", "IDFuori", 0, kMaxClub};
inline constexpr ColumnBounds kMaxGiornata{"IncontraInA", "Giornata", 0, kMaxMatchday};
inline constexpr ColumnBounds kIDCasa{"IncontraInA", "IDCasa", 1, kMaxClub};
inline constexpr ColumnBounds kIDFuori{"IncontraInA", "IDFuori", 1, kMaxClub};
inline constexpr ColumnBounds kGiornata{"IncontraInA", "Giornata", 1, kMaxMatchday};

// The last played matchday: 0 (NULL) when none is played.
inline constexpr ColumnBounds kUltimaGiornata{"GiornataDiA", "Giornata", 0, kMaxMatchday};

inline constexpr ColumnBounds kTesseratoSquadra{"Tesserato", "IDSquadra", 1, kMaxId};
inline constexpr ColumnBounds kGiocatoreId{"GiocatoreA", "ID", 1, kMaxId};
inline constexpr ColumnBounds kRuolo{"Tesserato", "Ruolo", 1, 4};
// A player's Serie A club indexes the fixtures on the page; 0 is a player without a club.
inline constexpr ColumnBounds kGiocaInSquadra{"GiocaIn", "IDSquadra", 0, kMaxClub};

}  // namespace bounds

}  // namespace calvorin
