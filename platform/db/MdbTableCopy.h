// SPDX-License-Identifier: GPL-3.0-or-later
// Copies one Access table, row by row, into a table held in memory.
#pragma once

#include <memory>

#include "platform/db/JetFile.h"
#include "platform/db/JetLongValue.h"
#include "platform/db/MdbCatalog.h"
#include "platform/db/MemoryTable.h"

namespace calvorin {

// Reads every live row of the Access table, in the order Jet keeps them, into a table of the same name
// and columns (kinds as KindOf gives them). Throws std::runtime_error when the table definition or
// a row cannot be read, or when fewer rows are found than the table declares (a truncated file).
// `longValues` reads the Memo and OLE values of every table of the file.
std::shared_ptr<const MemoryTable> CopyMdbTable(const JetFile& file, const JetCatalogEntry& entry,
                                                JetLongValueReader& longValues);

}  // namespace calvorin
