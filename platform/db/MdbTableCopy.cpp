// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbTableCopy.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/db/MdbField.h"
#include "platform/db/MdbRows.h"

namespace calvorin {

std::shared_ptr<const MemoryTable> CopyMdbTable(MdbCatalogEntry* entry) {
    MdbTablePtr table = ReadMdbTable(entry);
    MdbHandle* mdb = entry->mdb;
    const std::vector<MdbColumn*> columns = MdbColumns(table.get());
    std::vector<MemoryTable::Column> declared;
    declared.reserve(columns.size());
    for (const MdbColumn* column : columns) declared.push_back({column->name, KindOf(*column)});
    auto copy = std::make_shared<MemoryTable>(table->name, std::move(declared), table->num_rows);
    const MdbRowCopier copier(mdb, columns);
    const long copied = ForEachMdbRow(
        table.get(), [&](const std::vector<MdbField>& fields) { copier.Append(*copy, fields); });
    // Pages lost from the middle of the file leave fewer rows than the table definition counts.
    if (copied < static_cast<long>(table->num_rows))
        throw std::runtime_error(std::string("tabella \"") + table->name +
                                 "\" incompleta: file troncato o danneggiato");
    return copy;
}

}  // namespace calvorin
