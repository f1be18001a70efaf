// SPDX-License-Identifier: GPL-3.0-or-later
// Owned libmdb objects: an open Access file and a table definition with its columns.
#pragma once

#include <glib.h>
#include <mdbtools.h>

#include <memory>

namespace calvorin {

struct MdbCloser {
    void operator()(MdbHandle* mdb) const noexcept { mdb_close(mdb); }
};
struct MdbTableFreer {
    // Frees the columns and indexes read for the table as well.
    void operator()(MdbTableDef* table) const noexcept { mdb_free_tabledef(table); }
};
using MdbPtr = std::unique_ptr<MdbHandle, MdbCloser>;
using MdbTablePtr = std::unique_ptr<MdbTableDef, MdbTableFreer>;

}  // namespace calvorin
