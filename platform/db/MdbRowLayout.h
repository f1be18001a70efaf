// SPDX-License-Identifier: GPL-3.0-or-later
// Where each column's value lies in a row of an Access table, read from the table definition once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/db/JetField.h"
#include "platform/db/JetFile.h"
#include "platform/db/JetTableDef.h"

namespace calvorin {

// Every offset a row holds is checked to lie within the row, so that a damaged row is refused instead of
// read from its neighbours' bytes.
class MdbRowLayout {
  public:
    MdbRowLayout(const JetTableDef& table, JetVersion version);

    // Sets `fields`, one per column in the table's order, from the row at
    // [start, start + size) of `page` (`pageSize` bytes); a value lies within the row, though a
    // variable one may come out with a negative size. False when the row is damaged.
    bool Crack(const unsigned char* page, std::size_t pageSize, std::size_t start, std::size_t size,
               std::span<JetField> fields) const;

  private:
    struct Column {
        bool fixed;
        std::uint32_t number;    // position in the null mask
        std::uint32_t position;  // offset in the row of a fixed column, number among the variable ones
        std::uint32_t size;      // declared size of a fixed column
    };

    bool VariableOffsets(const unsigned char* page, std::size_t start, std::size_t end, std::size_t maskSize,
                         std::size_t count) const;

    bool jet3_;
    bool hasVariableColumns_;
    std::vector<Column> columns_;
    mutable std::vector<std::uint32_t> offsets_;  // the variable columns' offsets of the row being cracked
};

}  // namespace calvorin
