// SPDX-License-Identifier: GPL-3.0-or-later
// The list of user tables of an Access file, read from its system table MSysObjects.
#pragma once

#include <glib.h>
#include <mdbtools.h>

#include <vector>

namespace calvorin {

// Returns one catalog entry per user table, in catalog order. Unlike libmdb's own catalog reader it
// skips the objects' property blobs, whose parser can spin forever on a damaged file. Throws
// std::runtime_error when MSysObjects cannot be read.
std::vector<MdbCatalogEntry> ReadUserTables(MdbHandle* mdb);

}  // namespace calvorin
