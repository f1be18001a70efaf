// SPDX-License-Identifier: GPL-3.0-or-later
// A read-only table of SQLite values held in memory, with numeric look-ups built on first use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace calvorin {

class MemoryTable {
  public:
    enum class Kind : std::uint8_t { Null, Integer, Real, Text, Blob };

    struct Column {
        std::string name;
        std::string type;  // the declared SQLite type: "INTEGER", "REAL", "TEXT" or "BLOB"
    };

    // One value. Text and blob bytes live in the table's byte store, at `offset`.
    struct Cell {
        Kind kind = Kind::Null;
        std::uint32_t size = 0;
        union {
            std::int64_t integer = 0;
            double real;
            std::size_t offset;
        };
    };

    // `expectedRows` only sizes the first allocation.
    MemoryTable(std::string name, std::vector<Column> columns, std::size_t expectedRows = 0);

    // Rows are filled value by value, left to right; a row is complete after one value per column.
    // The appenders throw std::length_error when the table would outgrow 2^32 rows or a value 4 GiB.
    void AppendNull();
    void AppendInteger(std::int64_t value);
    void AppendReal(double value);
    void AppendText(std::string_view utf8);
    void AppendBlob(std::string_view bytes);

    const std::string& Name() const { return name_; }
    const std::vector<Column>& Columns() const { return columns_; }
    std::size_t RowCount() const { return columns_.empty() ? 0 : cells_.size() / columns_.size(); }
    const Cell& At(std::size_t row, std::size_t column) const {
        return cells_[row * columns_.size() + column];
    }
    std::string_view Bytes(const Cell& cell) const { return {bytes_.data() + cell.offset, cell.size}; }

    // The rows, in table order, whose value in `column` is a number equal to `key` once both are taken
    // as doubles: every row SQLite's "=" matches with that number, and possibly a few more past 2^53.
    // The look-up is built on the first call for a column; not safe to call from two threads at once.
    std::span<const std::uint32_t> RowsEqualTo(std::size_t column, double key) const;

    // How many rows RowsEqualTo gives for a number, on average over the numbers the column holds (0 when
    // it holds none). Builds the look-up, as RowsEqualTo does.
    double RowsPerKey(std::size_t column) const;

  private:
    struct Lookup {
        bool built = false;
        std::size_t distinct = 0;
        std::vector<double> keys;  // sorted
        std::vector<std::uint32_t> rows;
    };

    Cell& NewCell(Kind kind);
    void BuildLookup(std::size_t column) const;
    bool BuildIntegerLookup(std::size_t column, Lookup& lookup) const;

    std::string name_;
    std::vector<Column> columns_;
    std::size_t maxCells_;
    std::vector<Cell> cells_;
    std::string bytes_;
    mutable std::vector<Lookup> lookups_;
};

}  // namespace calvorin
