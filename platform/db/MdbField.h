// SPDX-License-Identifier: GPL-3.0-or-later
// One value of a cracked Access row, turned into the SQLite value it is copied as.
#pragma once

#include <glib.h>
#include <mdbtools.h>

struct sqlite3_stmt;

namespace calvorin {

// The SQLite column type an Access column type is copied as: "INTEGER", "REAL", "TEXT" or "BLOB".
const char* SqliteTypeOf(const MdbColumn& column);

// Binds the field of the row cracked on the handle's current page to the `index`-th parameter.
// Yes/No reads the row's null-mask bit. Throws std::runtime_error when the value lies outside the
// page or a long value (Memo, OLE) cannot be followed.
void BindMdbField(sqlite3_stmt* insert, int index, MdbHandle* mdb, const MdbColumn& column,
                  const MdbField& field);

}  // namespace calvorin
