// SPDX-License-Identifier: GPL-3.0-or-later
// Copies one Access table, row by row, into a table of the same name in an SQLite database.
#pragma once

#include <glib.h>
#include <mdbtools.h>

struct sqlite3;

namespace calvorin {

// Creates the table in `target` (column types as SqliteTypeOf gives them) and inserts every live row
// of the Access table, in the order Jet keeps them. Returns the number of rows copied. Throws
// std::runtime_error when the table definition or a row cannot be read, or when fewer rows are found
// than the table declares (a truncated file).
long CopyMdbTable(MdbCatalogEntry* entry, sqlite3* target);

}  // namespace calvorin
