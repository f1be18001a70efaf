// SPDX-License-Identifier: GPL-3.0-or-later
// Walking the live rows of an Access table, page by page, cracked into fields.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/db/JetField.h"
#include "platform/db/JetFile.h"
#include "platform/db/JetTableDef.h"

namespace calvorin {

struct JetRow {
    std::span<const unsigned char> page;  // the page the row's data lies on
    std::span<const JetField> fields;     // one per column of the table, within `page`
    // Where the table lists the row: for a row Jet moved to another page, the slot of its pointer.
    std::uint32_t pageNumber = 0;
    std::uint32_t rowNumber = 0;
};

// Calls `onRow` with every live row, in page order (deleted rows are skipped, a row moved to another page
// is read there, in its own slot's place); the row's spans are valid only during the call. Returns the
// number of rows seen. Throws std::runtime_error ("riga danneggiata nella tabella ...") on a row that
// cannot be cracked, whose slot lies outside its page or whose moved data cannot be found.
std::uint64_t ForEachMdbRow(const JetFile& file, const JetTableDef& table,
                            const std::function<void(const JetRow&)>& onRow);

}  // namespace calvorin
