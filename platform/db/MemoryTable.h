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
        Kind type;  // what the column holds besides NULLs (never Kind::Null)
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

    // Adds a row of NULLs and returns its cells, one per column, to be set in place; they stay valid
    // until the next row is added. Throws std::length_error past 2^32 rows.
    std::span<Cell> AppendRow() {
        if (rows_ >= kMaxRows) ThrowTooLarge("troppe righe");
        cells_.resize(cells_.size() + columns_.size());
        ++rows_;
        return {cells_.data() + cells_.size() - columns_.size(), columns_.size()};
    }
    static void SetInteger(Cell& cell, std::int64_t value) {
        cell.kind = Kind::Integer;
        cell.integer = value;
    }
    static void SetReal(Cell& cell, double value) {
        cell.kind = Kind::Real;
        cell.real = value;
    }
    // Copies the bytes into the table. Throws std::length_error for a value of 4 GiB or more.
    void SetText(Cell& cell, std::string_view utf8);
    void SetBlob(Cell& cell, std::string_view bytes);

    const std::string& Name() const { return name_; }
    const std::vector<Column>& Columns() const { return columns_; }
    std::size_t RowCount() const { return rows_; }
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

    static constexpr std::size_t kMaxRows = 0xFFFFFFFF;  // row numbers are kept in 32 bits

    [[noreturn]] void ThrowTooLarge(const char* what) const;
    const Lookup& LookupOf(std::size_t column) const;
    void BuildLookup(std::size_t column) const;
    bool BuildIntegerLookup(std::size_t column, Lookup& lookup) const;

    std::string name_;
    std::vector<Column> columns_;
    std::size_t rows_ = 0;
    std::vector<Cell> cells_;
    std::string bytes_;
    mutable std::vector<Lookup> lookups_;
};

}  // namespace calvorin
