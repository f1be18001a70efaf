// SPDX-License-Identifier: GPL-3.0-or-later
// Copies every table of an SQLite database into a new Jet 4 .mdb file.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "tools/demo/JetWriter.h"

struct sqlite3;

namespace calvorin::demo {

// The Access type of an SQLite column from its declared type: BOOL/YESNO/BIT are Yes/No, INT is Long,
// REAL/DOUBLE/FLOAT/NUMERIC/DECIMAL are Double, anything else (TEXT, none) is Text.
jet::ColumnType JetTypeOf(std::string_view declaredType);

// Every table of the database (SQLite's own left out), in creation order, with its rows. Values are
// converted to their column's type: any non-zero number is a true Yes/No, a whole REAL fits a Long.
// Throws std::runtime_error naming the table, row and column of a value that does not fit (an integer
// beyond 32 bits, a text in a number column, a BLOB).
std::vector<jet::Table> ReadSqliteTables(sqlite3* db);

// Writes a new .mdb file (replacing one already there) with every table of the SQLite file.
void CopySqliteToMdb(const std::filesystem::path& sqlite, const std::filesystem::path& mdb);

}  // namespace calvorin::demo
