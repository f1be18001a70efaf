// SPDX-License-Identifier: GPL-3.0-or-later
// The values of a cracked Access row, turned into the SQLite values they are read as.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/db/JetColumn.h"
#include "platform/db/JetField.h"
#include "platform/db/JetFile.h"
#include "platform/db/JetLongValue.h"
#include "platform/db/MdbRows.h"
#include "platform/db/MemoryTable.h"

namespace calvorin {

// What an Access column's values are read as: integers (Yes/No, Byte, Integer, Long), reals (Single,
// Double, Currency, Numeric, Date/Time), text (Text, Memo, Replication ID) or blobs (the rest).
MemoryTable::Kind KindOf(const JetColumn& column);

// Copies the cracked rows of one Access table into a memory table whose columns are declared with
// KindOf; how each column is read is worked out once, for all the rows.
class MdbRowCopier {
  public:
    // `columns` are the table's, in its order; they, the file and the reader of its long values (one for
    // the whole file) must outlive the copier.
    MdbRowCopier(const JetFile& file, const std::vector<JetColumn>& columns, JetLongValueReader& longValues);

    // Appends the row to `table`, one value per column. Yes/No reads the row's null-mask bit. Throws
    // std::runtime_error when a value lies outside the page or a long value (Memo, OLE) cannot be
    // followed.
    void Append(MemoryTable& table, const JetRow& row);

  private:
    struct Plan {
        const JetColumn* column;
        JetType type;
        std::int32_t minSize;  // bytes a value of the type needs
        MemoryTable::Kind kind;
    };

    void SetBytes(MemoryTable& table, MemoryTable::Cell& cell, const Plan& plan,
                  std::span<const unsigned char> bytes);

    const JetFile& file_;
    JetLongValueReader& longValues_;
    std::string longValue_;  // the long value being read, reused from row to row
    std::vector<Plan> plans_;
};

// The field of a Byte, Integer or Long column as a number; NULL and other types read as 0. Throws
// std::runtime_error when the value lies outside the page.
std::int64_t MdbFieldInteger(const JetColumn& column, std::span<const unsigned char> page,
                             const JetField& field);

// The field of a Text or Memo column as UTF-8; NULL and other types read as "". Throws
// std::runtime_error when the value cannot be read.
std::string MdbFieldText(const JetFile& file, const JetColumn& column, std::span<const unsigned char> page,
                         const JetField& field);

}  // namespace calvorin
