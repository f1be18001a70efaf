// SPDX-License-Identifier: GPL-3.0-or-later
// Owned SQLite handles and the few calls every part of the database layer shares.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace calvorin {

struct SqliteCloser {
    void operator()(sqlite3* db) const noexcept;
};
struct SqliteFinalizer {
    void operator()(sqlite3_stmt* stmt) const noexcept;
};
using SqlitePtr = std::unique_ptr<sqlite3, SqliteCloser>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

// The message every failure to open a league file starts with, naming the file.
std::string OpenErrorPrefix(const std::filesystem::path& file);

// Opens an SQLite file for reading only, seeing every committed change, also one still in a WAL file;
// the file is never written and must exist.
// Throws std::runtime_error ("Impossibile aprire il database ...") when it cannot be opened or read.
SqlitePtr OpenSqliteFileReadOnly(const std::filesystem::path& file);

// Opens a new, empty in-memory database. Throws std::runtime_error on failure.
SqlitePtr OpenSqliteMemory();

// Compiles exactly one statement (trailing blanks and ";" allowed). Throws std::runtime_error carrying
// SQLite's message, e.g. "no such column: X".
StatementPtr PrepareStatement(sqlite3* db, std::string_view sql);

// Runs one or more statements that return no rows worth reading. Throws std::runtime_error on failure.
void ExecuteSql(sqlite3* db, std::string_view sql);

// Throws std::runtime_error with `prefix` followed by SQLite's last message on the connection.
[[noreturn]] void ThrowSqliteError(sqlite3* db, std::string_view prefix);

}  // namespace calvorin
