// SPDX-License-Identifier: GPL-3.0-or-later
// Indexes for the lookups a run repeats, where the league file has none, without writing the file.
#pragma once

#include <string>
#include <vector>

struct sqlite3;

namespace calvorin {

// Rows of `table` looked up many times by the value of columns.front(). The other columns make the index
// cover what the lookups read, and give the rows back in the order an index on all of them would.
struct IndexedLookup {
    std::string table;
    std::vector<std::string> columns;
};

// For each lookup whose table in the main schema has no index led by its first column (an INTEGER
// PRIMARY KEY is one), copies the table into the TEMP schema, kept in memory, where unqualified names
// find it first, and indexes the copy on `columns`. The copies are taken in one read transaction, so they
// show the same moment of the file. The main schema is only read. A table or column the schema lacks, or
// a copy SQLite refuses, leaves that table as it is: the queries read it, and fail, as before.
void IndexLookups(sqlite3* db, const std::vector<IndexedLookup>& lookups);

}  // namespace calvorin
