// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbTableCopy.h"

#include <sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/db/MdbField.h"
#include "platform/db/MdbRows.h"
#include "platform/db/SqliteConnection.h"

namespace calvorin {
namespace {

std::string Quoted(const char* name) {
    std::string quoted = "\"";
    for (const char* c = name; *c; ++c) quoted += (*c == '"') ? std::string("\"\"") : std::string(1, *c);
    return quoted + "\"";
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

}  // namespace

long CopyMdbTable(MdbCatalogEntry* entry, sqlite3* target) {
    MdbTablePtr table = ReadMdbTable(entry);
    MdbHandle* mdb = entry->mdb;
    const std::vector<MdbColumn*> columns = MdbColumns(table.get());
    CreateTable(target, table->name, columns);
    StatementPtr insert = PrepareInsert(target, table->name, columns.size());
    const long copied = ForEachMdbRow(table.get(), [&](const std::vector<MdbField>& fields) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            BindMdbField(insert.get(), static_cast<int>(i) + 1, mdb, *columns[i], fields[i]);
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            ThrowSqliteError(target, "Impossibile copiare una riga: ");
        sqlite3_reset(insert.get());
    });
    // Pages lost from the middle of the file leave fewer rows than the table definition counts.
    if (copied < static_cast<long>(table->num_rows))
        throw std::runtime_error(std::string("tabella \"") + table->name +
                                 "\" incompleta: file troncato o danneggiato");
    return copied;
}

}  // namespace calvorin
