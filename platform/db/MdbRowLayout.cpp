// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbRowLayout.h"

#include <algorithm>
#include <limits>
#include <type_traits>

namespace calvorin {
namespace {

std::uint32_t Int16At(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

// libmdb keeps these in ints read from 16-bit fields; anything negative is out of every row.
template <typename T>
std::uint32_t Unsigned(T value) {
    if constexpr (std::is_signed_v<T>)
        if (value < 0) return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(value);
}

// An offset no row reaches, small enough that adding to it cannot wrap.
constexpr std::uint32_t kPastAnyRow = 0x10000000;

}  // namespace

MdbRowLayout::MdbRowLayout(MdbTableDef* table)
    : jet3_(IS_JET3(table->entry->mdb)), hasVariableColumns_(table->num_var_cols > 0) {
    columns_.reserve(table->num_cols);
    for (unsigned i = 0; i < table->num_cols; ++i) {
        const auto* column = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
        const bool fixed = column->is_fixed != 0;
        const std::uint32_t countSize = jet3_ ? 1 : 2;  // the row starts with its column count
        columns_.push_back({fixed, Unsigned(column->col_num),
                            fixed ? countSize + std::min(Unsigned(column->fixed_offset), kPastAnyRow)
                                  : Unsigned(column->var_col_num),
                            Unsigned(column->col_size)});
    }
}

// A row ends with its null mask; before it, the number of variable columns and their offsets from the
// row's start, one more than the count (the last one is where the variable data ends). Jet 4 keeps
// them in 16 bits. Jet 3 keeps one byte each, and for rows over 256 bytes a table of "jumps": each
// jump byte names the first variable column whose offset is 256 further on.
bool MdbRowLayout::VariableOffsets(const unsigned char* page, std::size_t start, std::size_t end,
                                   std::size_t maskSize, std::size_t count) const {
    offsets_.resize(count + 1);
    if (!jet3_) {
        // The lowest offset must lie after the row's 2-byte column count.
        if (maskSize + 2 * count + 6 > end - start + 1) return false;
        for (std::size_t i = 0; i <= count; ++i) offsets_[i] = Int16At(page + end - maskSize - 3 - 2 * i);
        return true;
    }
    const std::size_t size = end - start + 1;
    std::size_t jumps = (size - 1) / 256;
    // The first offset; the lowest one, count bytes before it, must lie after the 1-byte column count.
    if (maskSize + jumps + 1 + count + 1 > end - start) return false;
    const std::size_t first = end - maskSize - jumps - 1;
    // The last jump slot may be a filler when the offsets fit in fewer; as in libmdb, the offsets'
    // place stays where the full table put it.
    if ((first - start - count) / 256 < jumps) --jumps;
    std::size_t used = 0;
    for (std::size_t i = 0; i <= count; ++i) {
        while (used < jumps && i == page[end - maskSize - used - 1]) ++used;
        offsets_[i] = static_cast<std::uint32_t>(page[first - i] + used * 256);
    }
    return true;
}

bool MdbRowLayout::Crack(const unsigned char* page, std::size_t pageSize, std::size_t start, std::size_t size,
                         std::span<MdbField> fields) const {
    const std::size_t countSize = jet3_ ? 1 : 2;
    if (fields.size() != columns_.size() || start > pageSize || size > pageSize - start || size < countSize)
        return false;
    const std::size_t end = start + size - 1;
    const std::size_t columnCount = jet3_ ? page[start] : Int16At(page + start);
    const std::size_t maskSize = (columnCount + 7) / 8;
    if (countSize + maskSize > size) return false;
    const unsigned char* mask = page + end + 1 - maskSize;

    std::size_t variableCount = 0;
    if (hasVariableColumns_) {
        if (countSize + maskSize + countSize > size) return false;
        variableCount = jet3_ ? page[end - maskSize] : Int16At(page + end - maskSize - 1);
        if (variableCount > columnCount || !VariableOffsets(page, start, end, maskSize, variableCount))
            return false;
    }

    const std::size_t fixedCount = columnCount - variableCount;
    std::size_t fixedFound = 0;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const Column& column = columns_[i];
        MdbField& field = fields[i];
        std::size_t offset = 0;
        long length = 0;
        if (column.fixed && fixedFound < fixedCount) {
            offset = column.position;
            length = column.size;
            ++fixedFound;
        } else if (!column.fixed && column.position < variableCount) {
            offset = offsets_[column.position];
            // As in libmdb a value may come out with a negative length; a non-NULL one is refused where
            // it is read.
            length = static_cast<long>(offsets_[column.position + 1]) - static_cast<long>(offset);
        } else {
            // A column added after the row was written: NULL, and a Yes/No false.
            field.is_null = 1;
            field.start = 0;
            field.siz = 0;
            continue;
        }
        if (offset > size || length > static_cast<long>(size - offset)) return false;
        // A set bit means a value. A bit past the mask reads as NULL, where libmdb would read the bytes
        // after the row.
        const std::size_t byte = column.number / 8;
        field.is_null = byte < maskSize && (mask[byte] >> (column.number % 8) & 1) ? 0 : 1;
        field.start = static_cast<int>(start + offset);
        field.siz = static_cast<int>(length);
    }
    return true;
}

}  // namespace calvorin
