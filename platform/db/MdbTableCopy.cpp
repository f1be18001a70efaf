// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbTableCopy.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/db/MdbField.h"
#include "platform/db/MdbHandles.h"
#include "platform/db/SqliteConnection.h"

namespace calvorin {
namespace {

constexpr int kDeletedRow = 0x4000;
constexpr int kRowOffsetMask = 0x1FFF;

std::string Quoted(const char* name) {
    std::string quoted = "\"";
    for (const char* c = name; *c; ++c) quoted += (*c == '"') ? std::string("\"\"") : std::string(1, *c);
    return quoted + "\"";
}

std::vector<MdbColumn*> Columns(MdbTableDef* table) {
    std::vector<MdbColumn*> columns;
    for (unsigned i = 0; i < table->num_cols; ++i)
        columns.push_back(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i)));
    return columns;
}

void CreateTable(sqlite3* target, const char* name, const std::vector<MdbColumn*>& columns) {
    std::string sql = "CREATE TABLE " + Quoted(name) + " (";
    for (std::size_t i = 0; i < columns.size(); ++i)
        sql += (i ? ", " : "") + Quoted(columns[i]->name) + " " + SqliteTypeOf(*columns[i]);
    ExecuteSql(target, sql + ")");
}

StatementPtr PrepareInsert(sqlite3* target, const char* name, std::size_t columnCount) {
    std::string sql = "INSERT INTO " + Quoted(name) + " VALUES (";
    for (std::size_t i = 0; i < columnCount; ++i) sql += i ? ",?" : "?";
    return PrepareStatement(target, sql + ")");
}

// Walks the table's data pages and inserts each live row.
class RowCopier {
  public:
    RowCopier(MdbTableDef* table, sqlite3* target)
        : table_(table),
          mdb_(table->entry->mdb),
          target_(target),
          columns_(Columns(table)),
          fields_(columns_.size()),
          insert_(PrepareInsert(target, table->name, columns_.size())) {}

    long CopyAll() {
        mdb_rewind_table(table_);
        while (mdb_read_next_dpg(table_)) CopyPage();
        return copied_;
    }

  private:
    void CopyPage() {
        const int rows = mdb_get_int16(mdb_->pg_buf, mdb_->fmt->row_count_offset);
        for (int row = 0; row < rows; ++row) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb_, row, &start, &size) != 0 || size == 0 || (start & kDeletedRow)) continue;
            CopyRow(start & kRowOffsetMask, size);
        }
    }

    void CopyRow(int start, size_t size) {
        if (mdb_crack_row(table_, start, size, fields_.data()) < 0)
            throw std::runtime_error(std::string("riga danneggiata nella tabella \"") + table_->name + "\"");
        for (std::size_t i = 0; i < columns_.size(); ++i)
            BindMdbField(insert_.get(), static_cast<int>(i) + 1, mdb_, *columns_[fields_[i].colnum],
                         fields_[i]);
        if (sqlite3_step(insert_.get()) != SQLITE_DONE)
            ThrowSqliteError(target_, "Impossibile copiare una riga: ");
        sqlite3_reset(insert_.get());
        ++copied_;
    }

    MdbTableDef* table_;
    MdbHandle* mdb_;
    sqlite3* target_;
    std::vector<MdbColumn*> columns_;
    std::vector<MdbField> fields_;
    StatementPtr insert_;
    long copied_ = 0;
};

MdbTablePtr ReadDefinition(MdbCatalogEntry* entry) {
    MdbTablePtr table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get()) || table->columns->len != table->num_cols)
        throw std::runtime_error(std::string("definizione della tabella \"") + entry->object_name +
                                 "\" illeggibile");
    return table;
}

}  // namespace

long CopyMdbTable(MdbCatalogEntry* entry, sqlite3* target) {
    MdbTablePtr table = ReadDefinition(entry);
    std::vector<MdbColumn*> columns = Columns(table.get());
    CreateTable(target, table->name, columns);
    const long copied = RowCopier(table.get(), target).CopyAll();
    if (copied < static_cast<long>(table->num_rows))
        throw std::runtime_error(std::string("tabella \"") + table->name +
                                 "\" incompleta: file troncato o danneggiato");
    return copied;
}

}  // namespace calvorin
