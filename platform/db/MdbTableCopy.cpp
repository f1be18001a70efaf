// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbTableCopy.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/db/JetTableDef.h"
#include "platform/db/MdbRowCopier.h"
#include "platform/db/MdbRows.h"

namespace calvorin {

std::shared_ptr<const MemoryTable> CopyMdbTable(const JetFile& file, const JetCatalogEntry& entry,
                                                JetLongValueReader& longValues) {
    const JetTableDef table = ReadTableDef(file, entry.page, entry.name);
    std::vector<MemoryTable::Column> declared;
    declared.reserve(table.columns.size());
    for (const JetColumn& column : table.columns) declared.push_back({column.name, KindOf(column)});
    auto copy = std::make_shared<MemoryTable>(table.name, std::move(declared), table.rowCount);
    MdbRowCopier copier(file, table.columns, longValues);
    const std::uint64_t copied =
        ForEachMdbRow(file, table, [&](const JetRow& row) { copier.Append(*copy, row); });
    // Pages lost from the middle of the file leave fewer rows than the table definition counts.
    if (copied < table.rowCount)
        throw std::runtime_error("tabella \"" + table.name + "\" incompleta: file troncato o danneggiato");
    return copy;
}

}  // namespace calvorin
