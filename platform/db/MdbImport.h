// SPDX-License-Identifier: GPL-3.0-or-later
// Copies tables of an Access (Jet 3/4) file into memory, for an SQLite connection to query.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct sqlite3;

namespace calvorin {

// Copies the named tables (every user table when `tables` is empty) of the Access file into memory and
// makes them readable in `target`, one read-only table each, where an "=" on a number column is looked
// up rather than scanned. Yes/No becomes INTEGER 1/0; Byte, Integer and Long become INTEGER; Single,
// Double, Currency (in units, not ten-thousandths) and Numeric become REAL; Text and Memo become UTF-8
// TEXT; Replication ID becomes TEXT in Access's form, {8-4-4-4-12} in upper case; Date/Time becomes REAL,
// days since 1899-12-30 as Jet keeps it; OLE Object and Binary become BLOB; NULLs stay NULL.
// Throws std::runtime_error when the file cannot be read, a named table is missing, or a value cannot
// be decoded.
void CopyAccessTables(const std::filesystem::path& file, const std::vector<std::string>& tables,
                      sqlite3* target);

}  // namespace calvorin
