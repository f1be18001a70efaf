// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MemoryTable.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace calvorin {

namespace {

// A reservation no file could justify is not made up front: the rows still arrive one by one.
constexpr std::size_t kMaxReservedCells = std::size_t{1} << 20;

}  // namespace

MemoryTable::MemoryTable(std::string name, std::vector<Column> columns, std::size_t expectedRows)
    : name_(std::move(name)), columns_(std::move(columns)), lookups_(columns_.size()) {
    if (expectedRows <= kMaxReservedCells / std::max<std::size_t>(columns_.size(), 1))
        cells_.reserve(expectedRows * columns_.size());
}

void MemoryTable::ThrowTooLarge(const char* what) const {
    throw std::length_error(std::string(what) + " nella tabella \"" + name_ + "\"");
}

void MemoryTable::SetText(Cell& cell, std::string_view utf8) {
    if (utf8.size() > std::numeric_limits<std::uint32_t>::max()) ThrowTooLarge("valore troppo lungo");
    cell.kind = Kind::Text;
    cell.offset = bytes_.size();
    cell.size = static_cast<std::uint32_t>(utf8.size());
    bytes_.append(utf8);
}

void MemoryTable::SetBlob(Cell& cell, std::string_view bytes) {
    SetText(cell, bytes);
    cell.kind = Kind::Blob;
}

// Integer keys over a span not much wider than their count, as ID columns are, sort by counting: one
// pass, and rows of equal keys stay in table order. False when the column is not such a column.
bool MemoryTable::BuildIntegerLookup(std::size_t column, Lookup& lookup) const {
    std::int64_t low = std::numeric_limits<std::int64_t>::max(),
                 high = std::numeric_limits<std::int64_t>::min();
    std::size_t count = 0;
    for (std::size_t row = 0; row < RowCount(); ++row) {
        const Cell& cell = At(row, column);
        if (cell.kind == Kind::Real) return false;
        if (cell.kind != Kind::Integer) continue;
        low = std::min(low, cell.integer);
        high = std::max(high, cell.integer);
        ++count;
    }
    if (count == 0) return true;
    const auto span = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
    if (span >= 4 * static_cast<std::uint64_t>(count) + 1024) return false;
    std::vector<std::uint32_t> starts(span + 2, 0);
    for (std::size_t row = 0; row < RowCount(); ++row)
        if (const Cell& cell = At(row, column); cell.kind == Kind::Integer)
            ++starts[static_cast<std::uint64_t>(cell.integer) - static_cast<std::uint64_t>(low) + 1];
    for (std::size_t i = 1; i < starts.size(); ++i) {
        if (starts[i]) ++lookup.distinct;
        starts[i] += starts[i - 1];
    }
    lookup.keys.resize(count);
    lookup.rows.resize(count);
    for (std::size_t row = 0; row < RowCount(); ++row) {
        const Cell& cell = At(row, column);
        if (cell.kind != Kind::Integer) continue;
        const std::uint32_t at =
            starts[static_cast<std::uint64_t>(cell.integer) - static_cast<std::uint64_t>(low)]++;
        lookup.keys[at] = static_cast<double>(cell.integer);
        lookup.rows[at] = static_cast<std::uint32_t>(row);
    }
    return true;
}

// Built aside and kept only once whole, so a failed allocation leaves no partial look-up behind.
void MemoryTable::BuildLookup(std::size_t column) const {
    Lookup lookup;
    lookup.built = true;
    if (BuildIntegerLookup(column, lookup)) {
        lookups_[column] = std::move(lookup);
        return;
    }
    std::vector<std::pair<double, std::uint32_t>> entries;
    for (std::size_t row = 0; row < RowCount(); ++row) {
        const Cell& cell = At(row, column);
        if (cell.kind == Kind::Integer)
            entries.emplace_back(static_cast<double>(cell.integer), static_cast<std::uint32_t>(row));
        else if (cell.kind == Kind::Real && cell.real == cell.real)  // NaN equals nothing
            entries.emplace_back(cell.real, static_cast<std::uint32_t>(row));
    }
    // Ties sort on the row number, so equal keys give their rows in table order, as a scan would.
    std::sort(entries.begin(), entries.end());
    lookup.keys.reserve(entries.size());
    lookup.rows.reserve(entries.size());
    for (const auto& [key, row] : entries) {
        if (lookup.keys.empty() || lookup.keys.back() != key) ++lookup.distinct;
        lookup.keys.push_back(key);
        lookup.rows.push_back(row);
    }
    lookups_[column] = std::move(lookup);
}

const MemoryTable::Lookup& MemoryTable::LookupOf(std::size_t column) const {
    if (!lookups_[column].built) BuildLookup(column);
    return lookups_[column];
}

std::span<const std::uint32_t> MemoryTable::RowsEqualTo(std::size_t column, double key) const {
    const Lookup& lookup = LookupOf(column);
    const auto [first, last] = std::equal_range(lookup.keys.begin(), lookup.keys.end(), key);
    return {lookup.rows.data() + (first - lookup.keys.begin()), static_cast<std::size_t>(last - first)};
}

double MemoryTable::RowsPerKey(std::size_t column) const {
    const Lookup& lookup = LookupOf(column);
    return lookup.distinct ? static_cast<double>(lookup.keys.size()) / static_cast<double>(lookup.distinct)
                           : 0;
}

}  // namespace calvorin
