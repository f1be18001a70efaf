// SPDX-License-Identifier: GPL-3.0-or-later
// The table of the 38 Serie A start times, its built-in defaults and the commit of an edited grid cell.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "starttimes/LocalDateTime.h"

namespace calvorin {

inline constexpr int kMatchdays = 38;

// Owned by the main window for its whole life; every reader reads the array, never the grid.
struct StartTimeTable {
    // Element n-1 is the start of matchday n.
    std::array<LocalDateTime, kMatchdays> OrariSerieA{};
    // When the user last committed a grid edit; protects edits from automatic updates.
    LocalDateTime UltimaModificaManuale;
    std::string UrlServizio;
    bool AggiornaAvvio = false;
};

// Returns the built-in start of matchday n (1..38) in storage form ("yyyy-mm-dd hh.nn"), the 2019-20
// season. Throws std::out_of_range for any other n.
std::string_view DefaultStartTimeText(int matchday);

// The address of the update service used when the settings file has none.
std::string_view DefaultServiceUrl();

// The grid key of matchday n: "1a" ... "38a".
std::string MatchdayKey(int matchday);

// Returns the matchday a key names: ASCII digits, leading zeros allowed, then "a" ("1a", "01a" ... "38a"),
// the whole text. Nothing for any other text or a number outside 1..38.
std::optional<int> MatchdayOfKey(std::string_view key);

// The in-cell edit mask of every value cell: the shape of the display form.
std::string EditMask();

// Commits the edited text of grid row `row` (1..38): a valid display-form text is stored, anything else is
// discarded. Either way UltimaModificaManuale becomes now. Returns the text the cell must show: the
// stored entry in display form. Throws std::out_of_range for a row outside 1..38.
std::string CommitEditedStartTime(StartTimeTable& table, int row, std::string_view text, const Clock& now);

}  // namespace calvorin
