// SPDX-License-Identifier: GPL-3.0-or-later
// Writes user tables into a new Jet 4 (Access 2000) .mdb file, FCM's own league format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace calvorin::demo::jet {

// The Access column types a league needs; texts are Text(255).
enum class ColumnType { Long, Double, YesNo, Text };

struct Column {
    std::string name;
    ColumnType type = ColumnType::Text;
};

// One cell: NULL, a Long, a Double, a Yes/No, or a text in UTF-8. Its alternative must match the column's
// type; a NULL Yes/No is stored as false, since Access keeps no NULL for Yes/No.
using Value = std::variant<std::monostate, std::int32_t, double, bool, std::string>;

struct Table {
    std::string name;
    std::vector<Column> columns;
    std::vector<std::vector<Value>> rows;
};

// The most characters (UTF-16 units) of a Text column; longer texts are refused.
inline constexpr std::size_t kMaxTextLength = 255;

// The whole file: the tables in their order, with the system catalog both mdbtools and mdb-reader need.
// Throws std::runtime_error naming the table, column and row of anything Jet 4 cannot hold here (a text
// over 255 characters, a value of the wrong type, a row over a page, a duplicate or reserved name).
std::string JetDatabaseImage(const std::vector<Table>& tables);

// Writes the image to `file` under a temporary name and renames it into place; the folder must exist.
void WriteJetDatabase(const std::vector<Table>& tables, const std::filesystem::path& file);

}  // namespace calvorin::demo::jet
