// SPDX-License-Identifier: GPL-3.0-or-later
// One column of an Access table as its table definition describes it.
#pragma once

#include <cstdint>
#include <string>

namespace calvorin {

// Jet's column types, by the byte the table definition stores; a file may hold others.
enum class JetType : std::uint8_t {
    Bool = 0x01,  // Yes/No, kept in the row's null mask
    Byte = 0x02,
    Int = 0x03,    // Integer, 16 bits
    Long = 0x04,   // Long Integer, 32 bits
    Money = 0x05,  // Currency, 64 bits in ten-thousandths
    Float = 0x06,  // Single
    Double = 0x07,
    DateTime = 0x08,  // days since 1899-12-30 in a Double
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,      // OLE Object, a long value
    Memo = 0x0C,     // long text, a long value
    RepId = 0x0F,    // Replication ID, a GUID
    Numeric = 0x10,  // Decimal: sign byte and a 96-bit magnitude
    Complex = 0x12,  // a 32-bit key into an ACE complex column's table
};

struct JetColumn {
    std::string name;  // UTF-8
    JetType type = JetType::Text;
    std::uint16_t number = 0;         // its bit in a row's null mask, counting deleted columns
    bool fixed = false;               // stored among the fixed-length values
    std::uint16_t fixedOffset = 0;    // a fixed value's offset after the row's column count
    std::uint16_t variableIndex = 0;  // a variable value's entry in the row's offset table
    std::uint16_t size = 0;           // a fixed value's length
    std::uint8_t precision = 0;       // Numeric: decimal digits in all
    std::uint8_t scale = 0;           // Numeric: decimal digits after the point
};

}  // namespace calvorin
