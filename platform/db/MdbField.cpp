// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbField.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/JetText.h"
#include "platform/db/MemoryTable.h"

namespace calvorin {
namespace {

// Header of a Memo or OLE value inside the row: length with flags, then where the data lives.
constexpr int kLongValueHeader = 12;
constexpr std::uint32_t kInline = 0x80000000;
constexpr std::uint32_t kSinglePage = 0x40000000;
constexpr std::uint32_t kFlagsMask = 0xFF000000;

// Jet stores numbers little-endian. On a little-endian host the copy is one load: the byte-by-byte
// form, which GCC does not fuse, cost more than cracking the rows.
template <typename T>
T LoadLe(const unsigned char* p) {
    static_assert(sizeof(T) == 4 || sizeof(T) == 8);
    using U = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;
    U v = 0;
    if constexpr (std::endian::native == std::endian::little)
        std::memcpy(&v, p, sizeof v);
    else
        for (std::size_t i = sizeof(T); i-- > 0;) v = (v << 8) | p[i];
    return std::bit_cast<T>(v);
}

[[noreturn]] void ThrowDamaged(const MdbColumn& column) {
    throw std::runtime_error(std::string("valore danneggiato nella colonna \"") + column.name + "\"");
}

std::string_view PageBytes(const unsigned char* page, int start, std::size_t size) {
    return {reinterpret_cast<const char*>(page) + start, size};
}

// One row of an LVAL page: its bytes, or throws when the pointer leads nowhere.
std::string_view LvalRow(MdbHandle* mdb, std::int32_t pgRow, const MdbColumn& column) {
    void* page = nullptr;
    int start = 0;
    size_t size = 0;
    if (mdb_find_pg_row(mdb, pgRow, &page, &start, &size) != 0) ThrowDamaged(column);
    return PageBytes(static_cast<const unsigned char*>(page), start, size);
}

std::string ChainedLongValue(MdbHandle* mdb, std::int32_t pgRow, std::uint32_t length,
                             const MdbColumn& column) {
    std::string bytes;
    std::set<std::int32_t> visited;
    while (pgRow != 0 && bytes.size() < length) {
        // A damaged file may chain the pages into a loop.
        if (!visited.insert(pgRow).second) ThrowDamaged(column);
        std::string_view row = LvalRow(mdb, pgRow, column);
        // Each page's row starts with the pointer to the next one; an empty link would loop forever.
        if (row.size() <= 4) ThrowDamaged(column);
        pgRow = LoadLe<std::int32_t>(reinterpret_cast<const unsigned char*>(row.data()));
        bytes.append(row.substr(4, length - bytes.size()));
    }
    if (bytes.size() < length) ThrowDamaged(column);
    return bytes;
}

// The bytes of a Memo or OLE value, wherever Jet keeps them.
std::string LongValue(MdbHandle* mdb, const MdbColumn& column, const MdbField& field) {
    if (field.siz < kLongValueHeader) ThrowDamaged(column);
    const unsigned char* header = mdb->pg_buf + field.start;
    const auto flags = LoadLe<std::uint32_t>(header);
    const auto pgRow = LoadLe<std::int32_t>(header + 4);
    const std::uint32_t length = flags & ~kFlagsMask;
    if (flags & kInline)
        return std::string(
            PageBytes(mdb->pg_buf, field.start + kLongValueHeader, field.siz - kLongValueHeader));
    if (flags & kSinglePage) return std::string(LvalRow(mdb, pgRow, column).substr(0, length));
    if ((flags & kFlagsMask) == 0) return ChainedLongValue(mdb, pgRow, length, column);
    ThrowDamaged(column);
}

std::string DecodeText(MdbHandle* mdb, std::string_view bytes) {
    return IS_JET3(mdb) ? DecodeJet3Text(bytes) : DecodeJet4Text(bytes);
}

// Jet's Decimal: sign byte, then a 96-bit magnitude as little-endian 32-bit words, high word first.
double NumericValue(const unsigned char* p, int scale) {
    double magnitude = 0;
    for (std::size_t word = 0; word < 4; ++word)
        magnitude = magnitude * 4294967296.0 + LoadLe<std::uint32_t>(p + 1 + 4 * word);
    // One division by an exact power of ten (up to 10^22) rounds once, so that the REAL is the nearest
    // double to the decimal whenever the magnitude fits a double exactly.
    const double value = magnitude / std::pow(10.0, scale);
    return (p[0] & 0x80) ? -value : value;
}

// A Replication ID in Access's form, {8-4-4-4-12} in upper case. Jet stores it as Windows does: the
// first three groups little-endian, the last eight bytes in order. Formatted here because libmdb 1.0's
// mdb_uuid_to_string leaves out the fourth hyphen.
std::string GuidText(const unsigned char* p) {
    constexpr std::array<int, 16> kByteOrder = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string text = "{";
    for (std::size_t i = 0; i < kByteOrder.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
        const unsigned char byte = p[kByteOrder[i]];
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text + "}";
}

// The fixed size each fixed-length type needs in the row.
int FixedSize(int type) {
    switch (type) {
        case MDB_BYTE:
            return 1;
        case MDB_INT:
            return 2;
        case MDB_LONGINT:
        case MDB_COMPLEX:
        case MDB_FLOAT:
            return 4;
        case MDB_MONEY:
        case MDB_DOUBLE:
        case MDB_DATETIME:
            return 8;
        case MDB_REPID:
            return 16;
        case MDB_NUMERIC:
            return 17;
        default:
            return 0;
    }
}

// Whether the field holds at least `minSize` bytes, all within the page.
bool FitsInPage(const MdbField& field, int minSize, long pageSize) {
    return field.start >= 0 && field.siz >= minSize && field.siz <= pageSize - field.start;
}

const MdbField& CheckedField(MdbHandle* mdb, const MdbColumn& column, const MdbField& field) {
    if (!FitsInPage(field, FixedSize(column.col_type), mdb->fmt->pg_size)) ThrowDamaged(column);
    return field;
}

std::int64_t IntegerAt(int type, const unsigned char* p) {
    switch (type) {
        case MDB_BYTE:
            return p[0];
        case MDB_INT:
            return static_cast<std::int16_t>(p[0] | (p[1] << 8));
        default:
            return LoadLe<std::int32_t>(p);
    }
}

double RealAt(const MdbColumn& column, const unsigned char* p) {
    switch (column.col_type) {
        case MDB_MONEY:  // ten-thousandths of a unit
            return static_cast<double>(LoadLe<std::int64_t>(p)) / 10000.0;
        case MDB_FLOAT:
            return LoadLe<float>(p);
        case MDB_NUMERIC:
            // libmdb 1.0 names the descriptor's two bytes the wrong way round: col_scale holds the
            // precision, col_prec the scale (mdb-schema prints them as "Numeric (col_scale, col_prec)").
            return NumericValue(p, column.col_prec);
        default:
            return LoadLe<double>(p);
    }
}

std::string TextOf(MdbHandle* mdb, const MdbColumn& column, const MdbField& field) {
    switch (column.col_type) {
        case MDB_REPID:
            return GuidText(mdb->pg_buf + field.start);
        case MDB_MEMO:
            return DecodeText(mdb, LongValue(mdb, column, field));
        default:
            return DecodeText(mdb, PageBytes(mdb->pg_buf, field.start, field.siz));
    }
}

// Sets the cell from a field already checked to lie within the page.
void SetValue(MemoryTable& table, MemoryTable::Cell& cell, MemoryTable::Kind kind, MdbHandle* mdb,
              const MdbColumn& column, const MdbField& field) {
    const unsigned char* p = mdb->pg_buf + field.start;
    switch (kind) {
        case MemoryTable::Kind::Integer:
            MemoryTable::SetInteger(cell, IntegerAt(column.col_type, p));
            break;
        case MemoryTable::Kind::Real:
            MemoryTable::SetReal(cell, RealAt(column, p));
            break;
        case MemoryTable::Kind::Text:
            table.SetText(cell, TextOf(mdb, column, field));
            break;
        default:
            if (column.col_type == MDB_OLE)
                table.SetBlob(cell, LongValue(mdb, column, field));
            else
                table.SetBlob(cell, PageBytes(p, 0, field.siz));
    }
}

}  // namespace

MemoryTable::Kind KindOf(const MdbColumn& column) {
    switch (column.col_type) {
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_COMPLEX:
            return MemoryTable::Kind::Integer;
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_DATETIME:
        case MDB_NUMERIC:
            return MemoryTable::Kind::Real;
        case MDB_TEXT:
        case MDB_MEMO:
        case MDB_REPID:
            return MemoryTable::Kind::Text;
        default:
            return MemoryTable::Kind::Blob;
    }
}

MdbRowCopier::MdbRowCopier(MdbHandle* mdb, const std::vector<MdbColumn*>& columns)
    : mdb_(mdb), pageSize_(mdb->fmt->pg_size) {
    plans_.reserve(columns.size());
    for (const MdbColumn* column : columns)
        plans_.push_back({column, column->col_type, FixedSize(column->col_type), KindOf(*column)});
}

void MdbRowCopier::Append(MemoryTable& table, const std::vector<MdbField>& fields) const {
    const std::span<MemoryTable::Cell> cells = table.AppendRow();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Plan& plan = plans_[i];
        const MdbField& field = fields[i];
        // Yes/No has no bytes in the row: its value is the null-mask bit, so it is never NULL.
        if (plan.type == MDB_BOOL) {
            MemoryTable::SetInteger(cells[i], field.is_null ? 0 : 1);
            continue;
        }
        if (field.is_null) continue;  // the cell starts NULL
        if (!FitsInPage(field, plan.minSize, pageSize_)) ThrowDamaged(*plan.column);
        SetValue(table, cells[i], plan.kind, mdb_, *plan.column, field);
    }
}

std::int64_t MdbFieldInteger(MdbHandle* mdb, const MdbColumn& column, const MdbField& field) {
    const int type = column.col_type;
    if (field.is_null || (type != MDB_BYTE && type != MDB_INT && type != MDB_LONGINT)) return 0;
    return IntegerAt(type, mdb->pg_buf + CheckedField(mdb, column, field).start);
}

std::string MdbFieldText(MdbHandle* mdb, const MdbColumn& column, const MdbField& field) {
    if (field.is_null || (column.col_type != MDB_TEXT && column.col_type != MDB_MEMO)) return {};
    return TextOf(mdb, column, CheckedField(mdb, column, field));
}

}  // namespace calvorin
