// SPDX-License-Identifier: GPL-3.0-or-later
// Read-only access to a league database: an SQLite file, or FCM's Access (.mdb) file copied into memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/IndexedLookup.h"

struct sqlite3;
struct sqlite3_stmt;

namespace calvorin {

class Query;

// A read-only connection. The league file is never written; SQLite may add the "-wal" and "-shm" files
// of a league in WAL mode beside it, to read its latest committed content.
// Every failure throws std::runtime_error with the layer's own message (missing file, not a database,
// missing table or column, ...).
class Database {
  public:
    // Opens the file, telling SQLite and Access (Jet 3/4) files apart by their content. An Access file
    // has the tables named in `accessTables` copied into memory (all tables when the list is empty),
    // where SQLite queries them read-only, looking rows up by any number column an "=" names. Names match
    // without regard to case; a named table the file lacks is simply not copied, so a query that reads it
    // fails with "no such table", as on an SQLite file. Yes/No arrives as 1/0, dates as days since 1899-12-30
    // (see MdbImport.h). Throws std::runtime_error ("Impossibile aprire il database \"<file>\": <reason>")
    // when the file is missing, is no database, or is damaged or truncated.
    static Database Open(const std::filesystem::path& file,
                         const std::vector<std::string>& accessTables = {});

    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    ~Database();

    // Makes each lookup find its rows through an index (see IndexedLookup.h), so that a league file
    // written without one reads as fast as one with it; the file is not written. An Access copy looks rows
    // up by any "=" already, and is left as it is.
    void IndexLookups(const std::vector<IndexedLookup>& lookups);

    // Compiles a statement; "?" markers are positional integer parameters.
    Query Prepare(std::string_view sql);

    bool IsAccessCopy() const;

  private:
    struct Impl;
    explicit Database(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// One compiled statement, reusable: Bind, step through rows with Next, Reset, bind again.
class Query {
  public:
    Query(Query&&) noexcept;
    Query& operator=(Query&&) noexcept;
    ~Query();

    // Binds the integer to the n-th "?" (1-based), rewinding the statement first. Throws when there is
    // no such marker.
    Query& Bind(int position, std::int64_t value);

    // Steps to the next row; false when there is none. Throws with SQLite's message on failure.
    bool Next();

    // Rewinds the statement so it can run again; bindings are kept until bound again.
    void Reset();

    // Fields of the current row by column name (as SQLite names the result column, compared without
    // regard to ASCII case). NULL reads as 0, 0.0, "" or false; Flag is true for any non-zero number.
    // An unknown column, or reading when Next has not given a row, throws.
    std::int64_t Integer(std::string_view column) const;
    double Float(std::string_view column) const;
    std::string Text(std::string_view column) const;
    bool Flag(std::string_view column) const;
    // True when the field is NULL, which the readers above turn into 0, 0.0, "" or false.
    bool IsNull(std::string_view column) const;

    // Index of a column of the result, for hot loops; throws when unknown.
    int ColumnIndex(std::string_view column) const;
    std::int64_t Integer(int index) const;
    double Float(int index) const;
    std::string Text(int index) const;
    bool Flag(int index) const;
    bool IsNull(int index) const;

    // Number of columns of the result and the name SQLite gives the n-th (0-based); the name throws
    // when the index is out of range. Two columns may share a name (e.g. "T.IDSquadra" and
    // "GI.IDSquadra" both read "IDSquadra"): names find the first, indexes reach the others.
    int ColumnCount() const;
    const std::string& ColumnName(int index) const;

  private:
    friend class Database;
    Query(sqlite3* db, sqlite3_stmt* stmt);
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::vector<std::string> columns_;
    bool hasRow_ = false;

    int CheckedIndex(int index) const;
};

}  // namespace calvorin
