// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbRows.h"

#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/db/MdbDataPages.h"
#include "platform/db/MdbRowLayout.h"

namespace calvorin {
namespace {

// Flags in the high bits of a row's offset on its data page. A row that outgrew its page leaves an
// overflow pointer behind; its data, on another page, is flagged there as deleted, so following the
// pointers and skipping deleted rows sees every live row once, in its place.
constexpr int kDeletedRow = 0x8000;
constexpr int kOverflowRow = 0x4000;
constexpr int kRowOffsetMask = 0x1FFF;

[[noreturn]] void ThrowDamagedRow(MdbTableDef* table) {
    throw std::runtime_error(std::string("riga danneggiata nella tabella \"") + table->name + "\"");
}

void Crack(MdbTableDef* table, const MdbRowLayout& layout, int start, size_t size,
           std::vector<MdbField>& fields) {
    MdbHandle* mdb = table->entry->mdb;
    if (!layout.Crack(mdb->pg_buf, mdb->fmt->pg_size, start & kRowOffsetMask, size, fields))
        ThrowDamagedRow(table);
}

// Loads the page an overflow pointer names (row number, then a 3-byte page number) and cracks the row
// there; the caller reads the fields before the table's own page is loaded again.
void CrackOverflow(MdbTableDef* table, const MdbRowLayout& layout, int start, size_t size,
                   std::vector<MdbField>& fields) {
    MdbHandle* mdb = table->entry->mdb;
    if (size < 4) ThrowDamagedRow(table);
    const unsigned char* pointer = mdb->pg_buf + (start & kRowOffsetMask);
    const int row = pointer[0];
    const unsigned long page =
        pointer[1] | (pointer[2] << 8) | (static_cast<unsigned long>(pointer[3]) << 16);
    const bool ours = mdb_read_pg(mdb, page) == mdb->fmt->pg_size && HoldsDataPageOf(table);
    int target = 0;
    size_t targetSize = 0;
    if (!ours || mdb_find_row(mdb, row, &target, &targetSize) != 0 || targetSize == 0) ThrowDamagedRow(table);
    Crack(table, layout, target, targetSize, fields);
}

}  // namespace

MdbTablePtr ReadMdbTable(MdbCatalogEntry* entry) {
    MdbTablePtr table(mdb_read_table(entry));
    // An empty usage map leaves no map at all: libmdb copies none, and the page walk needs its kind.
    if (!table || !table->usage_map || table->map_sz < 1 || !mdb_read_columns(table.get()) ||
        table->columns->len != table->num_cols)
        throw std::runtime_error(std::string("definizione della tabella \"") + entry->object_name +
                                 "\" illeggibile");
    return table;
}

std::vector<MdbColumn*> MdbColumns(MdbTableDef* table) {
    std::vector<MdbColumn*> columns;
    for (unsigned i = 0; i < table->num_cols; ++i)
        columns.push_back(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i)));
    return columns;
}

long ForEachMdbRow(MdbTableDef* table, const std::function<void(const std::vector<MdbField>&)>& onRow) {
    MdbHandle* mdb = table->entry->mdb;
    const MdbRowLayout layout(table);
    std::vector<MdbField> fields(table->num_cols);
    long seen = 0;
    MdbDataPages pages(table);
    while (pages.Next()) {
        const std::uint32_t page = pages.Page();
        const int rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int row = 0; row < rows; ++row) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb, row, &start, &size) != 0 || size == 0) continue;
            if (start & kDeletedRow) continue;
            if (start & kOverflowRow) {
                CrackOverflow(table, layout, start, size, fields);
                onRow(fields);
                if (mdb_read_pg(mdb, page) != mdb->fmt->pg_size) ThrowDamagedRow(table);
            } else {
                Crack(table, layout, start, size, fields);
                onRow(fields);
            }
            ++seen;
        }
    }
    return seen;
}

}  // namespace calvorin
