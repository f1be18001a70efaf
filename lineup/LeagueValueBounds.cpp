// SPDX-License-Identifier: GPL-3.0-or-later
// The values a league column may hold when it sizes or indexes anything, and the one read that checks them.
#include "lineup/LeagueValueBounds.h"

#include <stdexcept>
#include <string>

#include "platform/db/Database.h"

namespace calvorin {

std::int64_t ReadBounded(const Query& row, std::string_view resultColumn, const ColumnBounds& bounds) {
    const int index = row.ColumnIndex(resultColumn);
    const std::int64_t value = row.Integer(index);
    if (value >= bounds.min && value <= bounds.max) return value;
    const std::string shown = row.IsNull(index) ? "NULL" : std::to_string(value);
    throw std::runtime_error("Valore non valido nella tabella " + std::string(bounds.table) + ", colonna " +
                             std::string(bounds.column) + ": " + shown);
}

}  // namespace calvorin
