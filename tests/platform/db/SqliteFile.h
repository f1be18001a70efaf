// SPDX-License-Identifier: GPL-3.0-or-later
// Builds small SQLite files for the database tests, straight through SQLite's own API.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/os/PathText.h"

namespace calvorin::test {

// Creates (or extends) the SQLite file at `file` by running `sql`. Throws on any SQLite error.
inline void CreateSqliteFile(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open(PathText(file).c_str(), &db);
    char* error = nullptr;
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    std::string message = error ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("fixture: " + message);
}

}  // namespace calvorin::test
