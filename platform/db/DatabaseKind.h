// SPDX-License-Identifier: GPL-3.0-or-later
// Tells an SQLite league file from an Access one by its first bytes, whatever its name.
#pragma once

#include <filesystem>
#include <string_view>

namespace calvorin {

// Access files are told apart by engine: Jet 3 (Access 97) sorts text differently from Jet 4 and later.
enum class DatabaseKind { Sqlite, Jet3, Jet4 };

// Returns the kind of database that the leading bytes of a file announce (an ACE file counts as Jet 4).
// Throws std::runtime_error
// ("Impossibile aprire il database ...") when the bytes are neither SQLite's nor Jet's.
DatabaseKind DatabaseKindOfHeader(const std::filesystem::path& file, std::string_view header);

// Reads the file's first bytes and returns its kind. Throws std::runtime_error when the file is
// missing, unreadable or not a database.
DatabaseKind DetectDatabaseKind(const std::filesystem::path& file);

}  // namespace calvorin
