// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an Access table's definition and walking its live rows with libmdb, without its bound values.
#pragma once

#include <glib.h>
#include <mdbtools.h>

#include <functional>
#include <vector>

#include "platform/db/MdbHandles.h"

namespace calvorin {

// Reads the table definition and its columns. Throws std::runtime_error when they cannot be read.
MdbTablePtr ReadMdbTable(MdbCatalogEntry* entry);

// The table's columns in Jet's order.
std::vector<MdbColumn*> MdbColumns(MdbTableDef* table);

// Calls `onRow` with the cracked fields of every live row (deleted rows are skipped, a row moved to
// another page is read there), in page order; the fields point into the handle's current page. Returns the
// number of rows seen. Throws std::runtime_error on a row that cannot be cracked.
long ForEachMdbRow(MdbTableDef* table, const std::function<void(const std::vector<MdbField>&)>& onRow);

}  // namespace calvorin
