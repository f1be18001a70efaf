// SPDX-License-Identifier: GPL-3.0-or-later
// One value of a cracked Access row, turned into the SQLite value it is read as.
#pragma once

#include <glib.h>
#include <mdbtools.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/db/MemoryTable.h"

namespace calvorin {

// What an Access column's values are read as: integers (Yes/No, Byte, Integer, Long), reals (Single,
// Double, Currency, Numeric, Date/Time), text (Text, Memo, Replication ID) or blobs (the rest).
MemoryTable::Kind KindOf(const MdbColumn& column);

// Copies the cracked rows of one Access table into a memory table whose columns are declared with
// KindOf; how each column is read is worked out once, for all the rows.
class MdbRowCopier {
  public:
    // `columns` are the table's, in Jet's order; they and the handle must outlive the copier.
    MdbRowCopier(MdbHandle* mdb, const std::vector<MdbColumn*>& columns);

    // Appends the row cracked on the handle's current page to `table`, one value per column. Yes/No
    // reads the row's null-mask bit. Throws std::runtime_error when a value lies outside the page or a
    // long value (Memo, OLE) cannot be followed.
    void Append(MemoryTable& table, const std::vector<MdbField>& fields) const;

  private:
    struct Plan {
        const MdbColumn* column;
        int type;     // libmdb's column type
        int minSize;  // bytes a value of the type needs
        MemoryTable::Kind kind;
    };

    MdbHandle* mdb_;
    long pageSize_;
    std::vector<Plan> plans_;
};

// The field of a Byte, Integer or Long column as a number; NULL and other types read as 0. Throws
// std::runtime_error when the value lies outside the page.
std::int64_t MdbFieldInteger(MdbHandle* mdb, const MdbColumn& column, const MdbField& field);

// The field of a Text or Memo column as UTF-8; NULL and other types read as "". Throws
// std::runtime_error when the value cannot be read.
std::string MdbFieldText(MdbHandle* mdb, const MdbColumn& column, const MdbField& field);

}  // namespace calvorin
