// SPDX-License-Identifier: GPL-3.0-or-later
#include <sqlite3.h>

#include <stdexcept>
#include <utility>

#include "platform/db/Database.h"
#include "platform/db/SqliteConnection.h"
#include "platform/text/Trim.h"

namespace calvorin {

Query::Query(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {
    const int count = sqlite3_column_count(stmt_);
    columns_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const char* name = sqlite3_column_name(stmt_, i);
        columns_.emplace_back(name ? name : "");
    }
}

Query::Query(Query&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      stmt_(std::exchange(other.stmt_, nullptr)),
      columns_(std::move(other.columns_)),
      hasRow_(std::exchange(other.hasRow_, false)) {}

Query& Query::operator=(Query&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = std::exchange(other.db_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
        columns_ = std::move(other.columns_);
        hasRow_ = std::exchange(other.hasRow_, false);
    }
    return *this;
}

Query::~Query() {
    sqlite3_finalize(stmt_);
}

Query& Query::Bind(int position, std::int64_t value) {
    // SQLite binds only to a rewound statement, also after its last row.
    Reset();
    if (sqlite3_bind_int64(stmt_, position, value) != SQLITE_OK)
        ThrowSqliteError(db_, "Parametro " + std::to_string(position) + " della query non valido: ");
    return *this;
}

bool Query::Next() {
    const int rc = sqlite3_step(stmt_);
    hasRow_ = rc == SQLITE_ROW;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        std::string message = sqlite3_errmsg(db_);
        sqlite3_reset(stmt_);
        throw std::runtime_error("Errore nella lettura dei dati: " + message);
    }
    return hasRow_;
}

void Query::Reset() {
    // The code returned repeats the last step's error, which Next has already reported.
    sqlite3_reset(stmt_);
    hasRow_ = false;
}

int Query::ColumnCount() const {
    return static_cast<int>(columns_.size());
}

const std::string& Query::ColumnName(int index) const {
    if (index < 0 || index >= ColumnCount())
        throw std::out_of_range("Colonna " + std::to_string(index) +
                                " inesistente nel risultato della query");
    return columns_[static_cast<std::size_t>(index)];
}

int Query::ColumnIndex(std::string_view column) const {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (EqualsIgnoreAsciiCase(columns_[i], column)) return static_cast<int>(i);
    throw std::runtime_error("Colonna \"" + std::string(column) + "\" inesistente nel risultato della query");
}

int Query::CheckedIndex(int index) const {
    ColumnName(index);
    if (!hasRow_)
        throw std::logic_error("Lettura del campo \"" + columns_[index] + "\" senza una riga corrente");
    return index;
}

std::int64_t Query::Integer(int index) const {
    return sqlite3_column_int64(stmt_, CheckedIndex(index));
}

double Query::Float(int index) const {
    return sqlite3_column_double(stmt_, CheckedIndex(index));
}

std::string Query::Text(int index) const {
    const int i = CheckedIndex(index);
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    if (!text) return {};
    return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i)));
}

bool Query::Flag(int index) const {
    const int i = CheckedIndex(index);
    // Reading a fraction as an integer would truncate it to zero.
    if (sqlite3_column_type(stmt_, i) == SQLITE_FLOAT) return sqlite3_column_double(stmt_, i) != 0.0;
    return sqlite3_column_int64(stmt_, i) != 0;
}

bool Query::IsNull(int index) const {
    return sqlite3_column_type(stmt_, CheckedIndex(index)) == SQLITE_NULL;
}

std::int64_t Query::Integer(std::string_view column) const {
    return Integer(ColumnIndex(column));
}

double Query::Float(std::string_view column) const {
    return Float(ColumnIndex(column));
}

std::string Query::Text(std::string_view column) const {
    return Text(ColumnIndex(column));
}

bool Query::Flag(std::string_view column) const {
    return Flag(ColumnIndex(column));
}

bool Query::IsNull(std::string_view column) const {
    return IsNull(ColumnIndex(column));
}

}  // namespace calvorin
