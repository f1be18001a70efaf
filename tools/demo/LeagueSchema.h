// SPDX-License-Identifier: GPL-3.0-or-later
// FCM's league tables: the schema in SQLite, and writing a whole league into a new SQLite or Access file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/demo/LeagueData.h"

namespace calvorin::demo {

// The CREATE TABLE statements of every league table the line-up generator reads, with SQLite types that
// the Access writer maps to FCM's (INTEGER: Long, REAL: Double, BOOLEAN: Yes/No, TEXT: Text).
const std::vector<std::string>& LeagueSchemaSql();

// Creates `file` anew (an existing one is replaced) holding the schema, the rows and the index on GiocaIn
// that the per-player score query needs. Throws std::runtime_error with SQLite's
// message on failure.
void WriteLeagueSqlite(const LeagueData& league, const std::filesystem::path& file);

// Writes the league as FCM's Access (Jet 4) file, with the tables and column types of the SQLite one;
// the file is written under a temporary name and renamed into place. Throws std::runtime_error.
void WriteLeagueMdb(const LeagueData& league, const std::filesystem::path& file);

// Runs SQL statements on an existing league file, for fixtures that need a damaged schema.
// Throws std::runtime_error with SQLite's message on failure.
void ExecuteOnLeagueFile(const std::filesystem::path& file, std::string_view sql);

}  // namespace calvorin::demo
