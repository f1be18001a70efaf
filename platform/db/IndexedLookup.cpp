// SPDX-License-Identifier: GPL-3.0-or-later
// Indexes for the lookups a run repeats, where the league file has none, without writing the file.
#include "platform/db/IndexedLookup.h"

#include <sqlite3.h>

#include <exception>
#include <optional>

#include "platform/db/SqliteConnection.h"

namespace calvorin {
namespace {

std::string Quoted(const std::string& name) {
    std::string out = "\"";
    for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

StatementPtr Bound(sqlite3* db, std::string_view sql, const std::vector<std::string>& texts) {
    StatementPtr stmt = PrepareStatement(db, sql);
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (sqlite3_bind_text(stmt.get(), static_cast<int>(i + 1), texts[i].data(),
                              static_cast<int>(texts[i].size()), SQLITE_TRANSIENT) != SQLITE_OK)
            ThrowSqliteError(db, "Parametro della query non valido: ");
    return stmt;
}

// The first column of each row; throws on a failed step.
std::vector<std::string> Texts(sqlite3* db, std::string_view sql, const std::vector<std::string>& params) {
    StatementPtr stmt = Bound(db, sql, params);
    std::vector<std::string> out;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0));
        out.emplace_back(text ? text : "");
    }
    if (rc != SQLITE_DONE) ThrowSqliteError(db, "Errore nella lettura dello schema: ");
    return out;
}

struct MainTable {
    std::string name;  // as the schema spells it
    std::string sql;
};

// SQLite matches table names without regard to ASCII case, and so does this.
std::optional<MainTable> FindMainTable(sqlite3* db, const std::string& table) {
    StatementPtr stmt = Bound(
        db, "SELECT name, sql FROM main.sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE",
        {table});
    const int rc = sqlite3_step(stmt.get());
    if (rc == SQLITE_DONE) return std::nullopt;
    if (rc != SQLITE_ROW) ThrowSqliteError(db, "Errore nella lettura dello schema: ");
    const auto text = [&](int column) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), column));
        return std::string(t ? t : "");
    };
    return MainTable{text(0), text(1)};
}

bool HasIndexLedBy(sqlite3* db, const std::string& table, const std::string& column) {
    if (!Texts(db,
               "SELECT 1 FROM pragma_index_list(?1, 'main') AS l, pragma_index_info(l.name, 'main') AS i "
               "WHERE l.partial = 0 AND i.seqno = 0 AND i.name = ?2 COLLATE NOCASE",
               {table, column})
             .empty())
        return true;
    // An INTEGER PRIMARY KEY is the rowid itself: no index lists it, yet every lookup by it is one step.
    return Texts(db,
                 "SELECT count(*) = 1 AND max(name = ?2 COLLATE NOCASE AND upper(type) = 'INTEGER') "
                 "FROM pragma_table_info(?1, 'main') WHERE pk > 0",
                 {table, column}) == std::vector<std::string>{"1"};
}

bool HasColumns(sqlite3* db, const std::string& table, const std::vector<std::string>& columns) {
    for (const std::string& column : columns)
        if (Texts(db, "SELECT 1 FROM pragma_table_info(?1, 'main') WHERE name = ?2 COLLATE NOCASE",
                  {table, column})
                .empty())
            return false;
    return true;
}

// The copy is made from the table's own CREATE statement, so its columns keep their declared types,
// affinities and collations, and every query reads the same values compared the same way.
void CopyAndIndex(sqlite3* db, const MainTable& table, const IndexedLookup& lookup, std::size_t number) {
    constexpr std::string_view kCreate = "CREATE TABLE ";
    if (!table.sql.starts_with(kCreate)) return;  // a virtual table: SQLite decides how it is read
    std::string columns;
    // Generated columns are computed again by the copy; they cannot be inserted.
    for (const std::string& c :
         Texts(db, "SELECT name FROM pragma_table_xinfo(?1, 'main') WHERE hidden = 0", {table.name}))
        columns += (columns.empty() ? "" : ", ") + Quoted(c);
    std::string indexed;
    for (const std::string& c : lookup.columns) indexed += (indexed.empty() ? "" : ", ") + Quoted(c);
    const std::string name = Quoted(table.name);
    ExecuteSql(db, "CREATE TEMP TABLE " + table.sql.substr(kCreate.size()));
    ExecuteSql(db,
               "INSERT INTO temp." + name + " (" + columns + ") SELECT " + columns + " FROM main." + name);
    ExecuteSql(db, "CREATE INDEX temp." + Quoted("calvorin_lookup_" + std::to_string(number)) + " ON " +
                       name + " (" + indexed + ")");
}

}  // namespace

void IndexLookups(sqlite3* db, const std::vector<IndexedLookup>& lookups) {
    bool began = false;
    for (std::size_t n = 0; n < lookups.size(); ++n) {
        const IndexedLookup& lookup = lookups[n];
        try {
            if (lookup.columns.empty()) continue;
            if (!Texts(db,
                       "SELECT 1 FROM temp.sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE",
                       {lookup.table})
                     .empty())
                continue;
            const std::optional<MainTable> table = FindMainTable(db, lookup.table);
            if (!table || !HasColumns(db, table->name, lookup.columns) ||
                HasIndexLedBy(db, table->name, lookup.columns.front()))
                continue;
            if (!began) {
                // Changing the setting drops every temporary table: only set it when it differs.
                if (Texts(db, "PRAGMA temp_store", {}) != std::vector<std::string>{"2"})
                    ExecuteSql(db, "PRAGMA temp_store = MEMORY");
                ExecuteSql(db, "BEGIN");
                began = true;
            }
            ExecuteSql(db, "SAVEPOINT calvorin_copy");
            try {
                CopyAndIndex(db, *table, lookup, n);
                ExecuteSql(db, "RELEASE calvorin_copy");
            } catch (const std::exception&) {
                ExecuteSql(db, "ROLLBACK TO calvorin_copy; RELEASE calvorin_copy");
            }
        } catch (const std::exception&) {
            // A schema that cannot be read is reported by the queries that need it.
        }
    }
    if (!began) return;
    try {
        ExecuteSql(db, "COMMIT");
    } catch (const std::exception&) {
        // Without the copies the queries read the file's own tables: slower, the same rows.
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

}  // namespace calvorin
