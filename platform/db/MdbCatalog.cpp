// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbCatalog.h"

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/db/MdbField.h"
#include "platform/db/MdbRows.h"
#include "platform/text/Trim.h"

namespace calvorin {
namespace {

constexpr unsigned long kSystemObjectsPage = 2;
constexpr std::int64_t kTypeMask = 0x7F;
// Flags that mark system and hidden-system tables.
constexpr std::uint32_t kSystemFlags = 0x80000002;
constexpr std::int64_t kPageMask = 0x00FFFFFF;

int ColumnNamed(const std::vector<MdbColumn*>& columns, std::string_view name) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (EqualsIgnoreAsciiCase(columns[i]->name, name)) return static_cast<int>(i);
    throw std::runtime_error("catalogo delle tabelle senza la colonna " + std::string(name));
}

MdbCatalogEntry Entry(MdbHandle* mdb, unsigned long page, const std::string& name) {
    MdbCatalogEntry entry{};
    entry.mdb = mdb;
    entry.object_type = MDB_TABLE;
    entry.table_pg = page;
    name.copy(entry.object_name, MDB_MAX_OBJ_NAME);
    return entry;
}

}  // namespace

std::vector<MdbCatalogEntry> ReadUserTables(MdbHandle* mdb) {
    MdbCatalogEntry systemObjects = Entry(mdb, kSystemObjectsPage, "MSysObjects");
    MdbTablePtr table = ReadMdbTable(&systemObjects);
    const std::vector<MdbColumn*> columns = MdbColumns(table.get());
    const int id = ColumnNamed(columns, "Id"), name = ColumnNamed(columns, "Name");
    const int type = ColumnNamed(columns, "Type"), flags = ColumnNamed(columns, "Flags");
    std::vector<MdbCatalogEntry> tables;
    const long seen = ForEachMdbRow(table.get(), [&](const std::vector<MdbField>& f) {
        const auto value = [&](int i) { return MdbFieldInteger(mdb, *columns[i], f[i]); };
        if ((value(type) & kTypeMask) != MDB_TABLE ||
            (static_cast<std::uint32_t>(value(flags)) & kSystemFlags))
            return;
        tables.push_back(Entry(mdb, value(id) & kPageMask, MdbFieldText(mdb, *columns[name], f[name])));
    });
    // Pages lost from the catalog would make its tables look missing rather than damaged.
    if (seen < static_cast<long>(table->num_rows))
        throw std::runtime_error("catalogo delle tabelle incompleto: file troncato o danneggiato");
    return tables;
}

}  // namespace calvorin
