// SPDX-License-Identifier: GPL-3.0-or-later
// An Access table's definition (its TDEF pages): row count, columns, and the map of its data pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/db/JetColumn.h"
#include "platform/db/JetFile.h"

namespace calvorin {

struct JetTableDef {
    std::string name;
    std::uint32_t page = 0;      // the first definition page, which the table's data pages name
    std::uint32_t rowCount = 0;  // the live rows, as Jet counts them
    std::uint16_t variableColumnCount = 0;
    std::vector<JetColumn> columns;  // in column-number order, as rows lay them out
    // The usage map: a kind byte, then an inline bitmap of pages or a list of map pages. Never empty.
    std::vector<unsigned char> usageMap;

    // The definition's bytes (the first page whole, then each further page without its 8-byte header),
    // and where in them the index definitions begin, after the column names, for a reader of indexes.
    std::vector<unsigned char> bytes;
    std::size_t indexesAt = 0;
    std::uint32_t realIndexCount = 0;  // physical indexes, whose entries follow the column names
    std::uint32_t indexCount = 0;      // logical indexes, each backed by a physical one
};

// At most this many columns: Access's own limit for a table.
inline constexpr std::size_t kMaxJetColumns = 255;

// Reads the definition starting at `page` of the table called `name`, following its chain of pages, and
// its usage map. Throws std::runtime_error ("definizione della tabella "name" illeggibile") when a page
// of the chain is not a definition page, lies past the end of the file or comes round again, when a
// count or offset leads outside the definition, when there are no columns or more than kMaxJetColumns,
// or when the usage map is missing or empty.
JetTableDef ReadTableDef(const JetFile& file, std::uint32_t page, const std::string& name);

}  // namespace calvorin
