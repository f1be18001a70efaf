// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbRowCopier.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "platform/db/JetBytes.h"
#include "platform/db/JetText.h"

namespace calvorin {
namespace {

[[noreturn]] void ThrowDamaged(const JetColumn& column) {
    throw std::runtime_error("valore danneggiato nella colonna \"" + column.name + "\"");
}

std::string_view AsText(std::span<const unsigned char> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string DecodeText(const JetFile& file, std::string_view bytes) {
    return file.IsJet3() ? DecodeJet3Text(bytes) : DecodeJet4Text(bytes);
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
// first three groups little-endian, the last eight bytes in order.
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
std::int32_t FixedSize(JetType type) {
    switch (type) {
        case JetType::Byte:
            return 1;
        case JetType::Int:
            return 2;
        case JetType::Long:
        case JetType::Complex:
        case JetType::Float:
            return 4;
        case JetType::Money:
        case JetType::Double:
        case JetType::DateTime:
            return 8;
        case JetType::RepId:
            return 16;
        case JetType::Numeric:
            return 17;
        default:
            return 0;
    }
}

// Whether the field holds at least `minSize` bytes, all within the page.
bool FitsInPage(const JetField& field, std::int32_t minSize, std::size_t pageSize) {
    return field.size >= minSize && field.start <= pageSize &&
           static_cast<std::size_t>(field.size) <= pageSize - field.start;
}

std::span<const unsigned char> CheckedBytes(const JetColumn& column, std::span<const unsigned char> page,
                                            const JetField& field) {
    if (!FitsInPage(field, FixedSize(column.type), page.size())) ThrowDamaged(column);
    return page.subspan(field.start, static_cast<std::size_t>(field.size));
}

std::int64_t IntegerAt(JetType type, const unsigned char* p) {
    switch (type) {
        case JetType::Byte:
            return p[0];
        case JetType::Int:
            return static_cast<std::int16_t>(Le16(p));
        default:
            return LoadLe<std::int32_t>(p);
    }
}

double RealAt(JetType type, int scale, const unsigned char* p) {
    switch (type) {
        case JetType::Money:  // ten-thousandths of a unit
            return static_cast<double>(LoadLe<std::int64_t>(p)) / 10000.0;
        case JetType::Float:
            return LoadLe<float>(p);
        case JetType::Numeric:
            return NumericValue(p, scale);
        default:
            return LoadLe<double>(p);
    }
}

// The bytes of a Memo or OLE value, wherever Jet keeps them.
void ReadLongValue(JetLongValueReader& reader, const JetColumn& column, std::span<const unsigned char> bytes,
                   std::string& out) {
    if (!reader.Read(bytes, out)) ThrowDamaged(column);
}

}  // namespace

MemoryTable::Kind KindOf(const JetColumn& column) {
    switch (column.type) {
        case JetType::Bool:
        case JetType::Byte:
        case JetType::Int:
        case JetType::Long:
        case JetType::Complex:
            return MemoryTable::Kind::Integer;
        case JetType::Money:
        case JetType::Float:
        case JetType::Double:
        case JetType::DateTime:
        case JetType::Numeric:
            return MemoryTable::Kind::Real;
        case JetType::Text:
        case JetType::Memo:
        case JetType::RepId:
            return MemoryTable::Kind::Text;
        default:
            return MemoryTable::Kind::Blob;
    }
}

MdbRowCopier::MdbRowCopier(const JetFile& file, const std::vector<JetColumn>& columns,
                           JetLongValueReader& longValues)
    : file_(file), longValues_(longValues) {
    plans_.reserve(columns.size());
    for (const JetColumn& column : columns)
        plans_.push_back({&column, column.type, FixedSize(column.type), KindOf(column)});
}

// Sets a text or blob cell from bytes already checked to lie within the page.
void MdbRowCopier::SetBytes(MemoryTable& table, MemoryTable::Cell& cell, const Plan& plan,
                            std::span<const unsigned char> bytes) {
    switch (plan.type) {
        case JetType::RepId:
            table.SetText(cell, GuidText(bytes.data()));
            return;
        case JetType::Memo:
            ReadLongValue(longValues_, *plan.column, bytes, longValue_);
            table.SetText(cell, DecodeText(file_, longValue_));
            return;
        case JetType::Ole:
            ReadLongValue(longValues_, *plan.column, bytes, longValue_);
            table.SetBlob(cell, longValue_);
            return;
        default:
            if (plan.kind == MemoryTable::Kind::Text)
                table.SetText(cell, DecodeText(file_, AsText(bytes)));
            else
                table.SetBlob(cell, AsText(bytes));
    }
}

void MdbRowCopier::Append(MemoryTable& table, const JetRow& row) {
    const std::span<MemoryTable::Cell> cells = table.AppendRow();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Plan& plan = plans_[i];
        const JetField& field = row.fields[i];
        // Yes/No has no bytes in the row: its value is the null-mask bit, so it is never NULL.
        if (plan.type == JetType::Bool) {
            MemoryTable::SetInteger(cells[i], field.null ? 0 : 1);
            continue;
        }
        if (field.null) continue;  // the cell starts NULL
        if (!FitsInPage(field, plan.minSize, row.page.size())) ThrowDamaged(*plan.column);
        const unsigned char* p = row.page.data() + field.start;
        // Numbers, most of a league's values, are set here without a further call.
        if (plan.kind == MemoryTable::Kind::Integer)
            MemoryTable::SetInteger(cells[i], IntegerAt(plan.type, p));
        else if (plan.kind == MemoryTable::Kind::Real)
            MemoryTable::SetReal(cells[i], RealAt(plan.type, plan.column->scale, p));
        else
            SetBytes(table, cells[i], plan, {p, static_cast<std::size_t>(field.size)});
    }
}

std::int64_t MdbFieldInteger(const JetColumn& column, std::span<const unsigned char> page,
                             const JetField& field) {
    const JetType type = column.type;
    if (field.null || (type != JetType::Byte && type != JetType::Int && type != JetType::Long)) return 0;
    return IntegerAt(type, CheckedBytes(column, page, field).data());
}

std::string MdbFieldText(const JetFile& file, const JetColumn& column, std::span<const unsigned char> page,
                         const JetField& field) {
    if (field.null || (column.type != JetType::Text && column.type != JetType::Memo)) return {};
    const std::span<const unsigned char> bytes = CheckedBytes(column, page, field);
    if (column.type == JetType::Text) return DecodeText(file, AsText(bytes));
    JetLongValueReader reader(file);
    std::string value;
    ReadLongValue(reader, column, bytes, value);
    return DecodeText(file, value);
}

}  // namespace calvorin
