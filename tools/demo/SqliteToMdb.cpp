// SPDX-License-Identifier: GPL-3.0-or-later
// Copies every table of an SQLite database into a new Jet 4 .mdb file.
#include "tools/demo/SqliteToMdb.h"

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "platform/db/SqliteConnection.h"
#include "platform/text/AsciiCase.h"

namespace calvorin::demo {

namespace {

bool Contains(const std::string& folded, std::string_view word) {
    return folded.find(word) != std::string::npos;
}

std::string Quoted(std::string_view name) {
    std::string out = "\"";
    for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string TextAt(sqlite3_stmt* s, int i) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(s, i))) : std::string();
}

[[noreturn]] void Unfit(const std::string& table, std::size_t row, const std::string& column,
                        const std::string& what) {
    throw std::runtime_error("Tabella \"" + table + "\", riga " + std::to_string(row) + ", colonna \"" +
                             column + "\": " + what);
}

jet::Value ValueAt(sqlite3_stmt* s, int i, jet::ColumnType type, const std::string& table, std::size_t row,
                   const std::string& column) {
    const int storage = sqlite3_column_type(s, i);
    if (storage == SQLITE_NULL) return std::monostate{};
    if (storage == SQLITE_BLOB) Unfit(table, row, column, "un BLOB non ha un tipo Access qui");
    const bool number = storage == SQLITE_INTEGER || storage == SQLITE_FLOAT;
    switch (type) {
        case jet::ColumnType::Text:
            return TextAt(s, i);
        case jet::ColumnType::YesNo:
            if (!number) Unfit(table, row, column, "\"" + TextAt(s, i) + "\" non è un Sì/No");
            return sqlite3_column_double(s, i) != 0;
        case jet::ColumnType::Double:
            if (!number) Unfit(table, row, column, "\"" + TextAt(s, i) + "\" non è un numero");
            return sqlite3_column_double(s, i);
        case jet::ColumnType::Long: {
            const double d = sqlite3_column_double(s, i);
            const std::int64_t n = sqlite3_column_int64(s, i);
            const bool whole = storage == SQLITE_INTEGER || (std::isfinite(d) && d == std::trunc(d));
            const double v = storage == SQLITE_INTEGER ? static_cast<double>(n) : d;
            if (!number || !whole || v < std::numeric_limits<std::int32_t>::min() ||
                v > std::numeric_limits<std::int32_t>::max())
                Unfit(table, row, column, "\"" + TextAt(s, i) + "\" non è un intero lungo (32 bit)");
            return static_cast<std::int32_t>(v);
        }
    }
    return std::monostate{};
}

jet::Table ReadTable(sqlite3* db, const std::string& name) {
    jet::Table table{name, {}, {}};
    const StatementPtr info = PrepareStatement(db, "PRAGMA table_info(" + Quoted(name) + ")");
    while (sqlite3_step(info.get()) == SQLITE_ROW)
        table.columns.push_back({TextAt(info.get(), 1), JetTypeOf(TextAt(info.get(), 2))});
    const StatementPtr rows = PrepareStatement(db, "SELECT * FROM " + Quoted(name));
    const int count = sqlite3_column_count(rows.get());
    if (count != static_cast<int>(table.columns.size()))
        throw std::runtime_error("Tabella \"" + name + "\": colonne lette in modo incoerente");
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW) {
        std::vector<jet::Value>& values = table.rows.emplace_back();
        for (int i = 0; i < count; ++i) {
            const jet::Column& c = table.columns[static_cast<std::size_t>(i)];
            values.push_back(ValueAt(rows.get(), i, c.type, name, table.rows.size(), c.name));
        }
    }
    if (rc != SQLITE_DONE) throw std::runtime_error("Tabella \"" + name + "\": " + sqlite3_errmsg(db));
    return table;
}

}  // namespace

jet::ColumnType JetTypeOf(std::string_view declaredType) {
    std::string folded;
    for (char c : declaredType) folded.push_back(static_cast<char>(FoldAscii(c)));
    if (Contains(folded, "BOOL") || Contains(folded, "YESNO") || Contains(folded, "BIT"))
        return jet::ColumnType::YesNo;
    if (Contains(folded, "INT")) return jet::ColumnType::Long;
    for (const char* word : {"REAL", "DOUB", "FLOA", "NUMERIC", "DEC"})
        if (Contains(folded, word)) return jet::ColumnType::Double;
    return jet::ColumnType::Text;
}

std::vector<jet::Table> ReadSqliteTables(sqlite3* db) {
    std::vector<std::string> names;
    {
        const StatementPtr list = PrepareStatement(
            db,
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
            "ORDER BY rowid");
        while (sqlite3_step(list.get()) == SQLITE_ROW) names.push_back(TextAt(list.get(), 0));
    }
    std::vector<jet::Table> tables;
    tables.reserve(names.size());
    for (const std::string& name : names) tables.push_back(ReadTable(db, name));
    return tables;
}

void CopySqliteToMdb(const std::filesystem::path& sqlite, const std::filesystem::path& mdb) {
    std::vector<jet::Table> tables;
    {
        const SqlitePtr db = OpenSqliteFileReadOnly(sqlite);
        tables = ReadSqliteTables(db.get());
    }
    jet::WriteJetDatabase(tables, mdb);
}

}  // namespace calvorin::demo
