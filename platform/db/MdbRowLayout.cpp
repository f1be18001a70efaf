// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbRowLayout.h"

#include "platform/db/JetBytes.h"

namespace calvorin {

MdbRowLayout::MdbRowLayout(const JetTableDef& table, JetVersion version)
    : jet3_(version == JetVersion::Jet3), hasVariableColumns_(table.variableColumnCount > 0) {
    columns_.reserve(table.columns.size());
    const std::uint32_t countSize = jet3_ ? 1 : 2;  // the row starts with its column count
    for (const JetColumn& column : table.columns)
        columns_.push_back({column.fixed, column.number,
                            column.fixed ? countSize + column.fixedOffset : column.variableIndex,
                            column.size});
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
        for (std::size_t i = 0; i <= count; ++i) offsets_[i] = Le16(page + end - maskSize - 3 - 2 * i);
        return true;
    }
    const std::size_t size = end - start + 1;
    std::size_t jumps = (size - 1) / 256;
    // The first offset; the lowest one, count bytes before it, must lie after the 1-byte column count.
    if (maskSize + jumps + 1 + count + 1 > end - start) return false;
    const std::size_t first = end - maskSize - jumps - 1;
    // The last jump slot may be a filler when the offsets fit in fewer; the offsets' place stays where
    // the full table put it.
    if ((first - start - count) / 256 < jumps) --jumps;
    std::size_t used = 0;
    for (std::size_t i = 0; i <= count; ++i) {
        while (used < jumps && i == page[end - maskSize - used - 1]) ++used;
        offsets_[i] = static_cast<std::uint32_t>(page[first - i] + used * 256);
    }
    return true;
}

bool MdbRowLayout::Crack(const unsigned char* page, std::size_t pageSize, std::size_t start, std::size_t size,
                         std::span<JetField> fields) const {
    const std::size_t countSize = jet3_ ? 1 : 2;
    if (fields.size() != columns_.size() || start > pageSize || size > pageSize - start || size < countSize)
        return false;
    const std::size_t end = start + size - 1;
    const std::size_t columnCount = jet3_ ? page[start] : Le16(page + start);
    const std::size_t maskSize = (columnCount + 7) / 8;
    if (countSize + maskSize > size) return false;
    const unsigned char* mask = page + end + 1 - maskSize;

    std::size_t variableCount = 0;
    if (hasVariableColumns_) {
        if (countSize + maskSize + countSize > size) return false;
        variableCount = jet3_ ? page[end - maskSize] : Le16(page + end - maskSize - 1);
        if (variableCount > columnCount || !VariableOffsets(page, start, end, maskSize, variableCount))
            return false;
    }

    const std::size_t fixedCount = columnCount - variableCount;
    std::size_t fixedFound = 0;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const Column& column = columns_[i];
        JetField& field = fields[i];
        std::size_t offset = 0;
        std::int64_t length = 0;
        if (column.fixed && fixedFound < fixedCount) {
            offset = column.position;
            length = column.size;
            ++fixedFound;
        } else if (!column.fixed && column.position < variableCount) {
            offset = offsets_[column.position];
            // A value may come out with a negative length; a non-NULL one is refused where it is read.
            length =
                static_cast<std::int64_t>(offsets_[column.position + 1]) - static_cast<std::int64_t>(offset);
        } else {
            // A column added after the row was written: NULL, and a Yes/No false.
            field.null = true;
            field.start = 0;
            field.size = 0;
            continue;
        }
        if (offset > size || length > static_cast<std::int64_t>(size - offset)) return false;
        // A set bit means a value; a bit past the mask reads as NULL.
        const std::size_t byte = column.number / 8;
        field.null = !(byte < maskSize && (mask[byte] >> (column.number % 8) & 1));
        field.start = static_cast<std::uint32_t>(start + offset);
        field.size = static_cast<std::int32_t>(length);
    }
    return true;
}

}  // namespace calvorin
