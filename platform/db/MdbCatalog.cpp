// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbCatalog.h"

#include <stdexcept>
#include <string_view>
#include <unordered_set>

#include "platform/db/JetTableDef.h"
#include "platform/db/MdbRowCopier.h"
#include "platform/db/MdbRows.h"
#include "platform/text/Trim.h"

namespace calvorin {
namespace {

constexpr std::uint32_t kSystemObjectsPage = 2;
constexpr std::int64_t kTypeMask = 0x7F;
constexpr std::int64_t kTableType = 1;
// Flags that mark system and hidden-system tables.
constexpr std::uint32_t kSystemFlags = 0x80000002;
constexpr std::int64_t kPageMask = 0x00FFFFFF;

std::size_t ColumnNamed(const std::vector<JetColumn>& columns, std::string_view name) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (EqualsIgnoreAsciiCase(columns[i].name, name)) return i;
    throw std::runtime_error("catalogo delle tabelle senza la colonna " + std::string(name));
}

}  // namespace

std::vector<JetCatalogEntry> ReadUserTables(const JetFile& file) {
    const JetTableDef table = ReadTableDef(file, kSystemObjectsPage, "MSysObjects");
    const std::vector<JetColumn>& columns = table.columns;
    const std::size_t id = ColumnNamed(columns, "Id"), name = ColumnNamed(columns, "Name");
    const std::size_t type = ColumnNamed(columns, "Type"), flags = ColumnNamed(columns, "Flags");
    std::vector<JetCatalogEntry> tables;
    std::unordered_set<std::uint32_t> pages;
    const std::uint64_t seen = ForEachMdbRow(file, table, [&](const JetRow& row) {
        const auto value = [&](std::size_t i) {
            return MdbFieldInteger(columns[i], row.page, row.fields[i]);
        };
        if ((value(type) & kTypeMask) != kTableType ||
            (static_cast<std::uint32_t>(value(flags)) & kSystemFlags))
            return;
        const auto page = static_cast<std::uint32_t>(value(id) & kPageMask);
        // Each table has a definition of its own; two sharing one would copy the same rows twice over.
        if (!pages.insert(page).second)
            throw std::runtime_error(
                "catalogo delle tabelle danneggiato: due tabelle con la stessa definizione");
        tables.push_back({MdbFieldText(file, columns[name], row.page, row.fields[name]), page});
    });
    // Pages lost from the catalog would make its tables look missing rather than damaged.
    if (seen < table.rowCount)
        throw std::runtime_error("catalogo delle tabelle incompleto: file troncato o danneggiato");
    return tables;
}

}  // namespace calvorin
