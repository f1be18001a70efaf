// SPDX-License-Identifier: GPL-3.0-or-later
// Serves memory tables to SQLite as read-only virtual tables, looked up by number where a query asks.
#pragma once

#include <memory>
#include <vector>

#include "platform/db/MemoryTable.h"

struct sqlite3;

namespace calvorin {

// Makes each table readable in `db` under its own name, as a read-only virtual table whose columns have
// the declared types. An "=" on an INTEGER or REAL column is answered from the table's look-up, the rest
// by a scan; SQLite checks every condition again on each row, so results match those of an ordinary
// table holding the same values. The connection shares the tables until it closes. Call once per
// connection. Throws std::runtime_error with SQLite's message when a table cannot be declared (for
// example two columns of the same name).
void AttachMemoryTables(sqlite3* db, std::vector<std::shared_ptr<const MemoryTable>> tables);

}  // namespace calvorin
