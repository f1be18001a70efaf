// SPDX-License-Identifier: GPL-3.0-or-later
// The list of user tables of an Access file, read from its system table MSysObjects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/db/JetFile.h"

namespace calvorin {

struct JetCatalogEntry {
    std::string name;
    std::uint32_t page = 0;  // the table's first definition page
};

// Returns one entry per user table, in catalog order; system tables and other objects (queries, forms,
// relationships) are left out. Throws std::runtime_error when MSysObjects cannot be read, lacks a column
// it needs, has lost rows, or names one definition page for two tables.
std::vector<JetCatalogEntry> ReadUserTables(const JetFile& file);

}  // namespace calvorin
