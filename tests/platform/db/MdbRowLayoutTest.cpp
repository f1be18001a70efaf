// SPDX-License-Identifier: GPL-3.0-or-later
// Rows cracked from hand-made Jet 4 page bytes: where each value lies, and damaged rows refused.
#include "platform/db/MdbRowLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace calvorin {
namespace {

// A Jet 4 table: a Long (fixed, 4 bytes at offset 0), a Text (the first variable column), and optionally a
// second Long added to the table after its rows were written.
JetTableDef Jet4Table(bool withLaterColumn) {
    JetTableDef table;
    table.variableColumnCount = 1;
    table.columns = {{.name = "ID", .type = JetType::Long, .number = 0, .fixed = true, .size = 4},
                     {.name = "Nome", .type = JetType::Text, .number = 1, .variableIndex = 0}};
    if (withLaterColumn)
        table.columns.push_back(
            {.name = "Dopo", .type = JetType::Long, .number = 2, .fixed = true, .fixedOffset = 4, .size = 4});
    return table;
}

constexpr std::size_t kPageSize = 4096;
constexpr std::size_t kRowStart = 1000;
constexpr std::size_t kRowSize = 15;

// One row at kRowStart: column count, the Long, the text "ab", the end of the variable data and the
// text's offset (Jet 4 stores them last first), the number of variable columns, the null mask. The rest
// of the page is filler a reader must not take for the row.
struct Row {
    std::uint16_t columns = 2;
    std::uint16_t textStart = 6;
    std::uint16_t textEnd = 8;
    std::uint16_t variableColumns = 1;
    std::uint8_t mask = 0b11;

    std::vector<unsigned char> Page() const {
        const auto lo = [](std::uint16_t v) { return static_cast<unsigned char>(v & 0xFF); };
        const auto hi = [](std::uint16_t v) { return static_cast<unsigned char>(v >> 8); };
        const std::vector<unsigned char> row = {lo(columns),
                                                hi(columns),
                                                0x2A,
                                                0,
                                                0,
                                                0,
                                                'a',
                                                'b',
                                                lo(textEnd),
                                                hi(textEnd),
                                                lo(textStart),
                                                hi(textStart),
                                                lo(variableColumns),
                                                hi(variableColumns),
                                                mask};
        std::vector<unsigned char> page(kPageSize, 0x11);
        std::copy(row.begin(), row.end(), page.begin() + kRowStart);
        return page;
    }
};

struct Cracked {
    bool ok = false;
    std::vector<JetField> fields;
};

Cracked Crack(const Row& row, bool withLaterColumn = false, std::size_t size = kRowSize) {
    const JetTableDef table = Jet4Table(withLaterColumn);
    const MdbRowLayout layout(table, JetVersion::Jet4);
    const std::vector<unsigned char> page = row.Page();
    Cracked result;
    result.fields.resize(table.columns.size());
    result.ok = layout.Crack(page.data(), page.size(), kRowStart, size, result.fields);
    return result;
}

TEST(MdbRowLayoutTest, FindsFixedAndVariableValuesInTheRow) {
    const Cracked cracked = Crack(Row{});
    ASSERT_TRUE(cracked.ok);
    EXPECT_EQ(cracked.fields[0].start, kRowStart + 2);
    EXPECT_EQ(cracked.fields[0].size, 4);
    EXPECT_FALSE(cracked.fields[0].null);
    EXPECT_EQ(cracked.fields[1].start, kRowStart + 6);
    EXPECT_EQ(cracked.fields[1].size, 2);
    EXPECT_FALSE(cracked.fields[1].null);
}

TEST(MdbRowLayoutTest, NullMaskAndColumnsAddedLaterReadAsNull) {
    Row textNull;
    textNull.mask = 0b01;
    const Cracked cracked = Crack(textNull);
    ASSERT_TRUE(cracked.ok);
    EXPECT_FALSE(cracked.fields[0].null);
    EXPECT_TRUE(cracked.fields[1].null);

    // The row holds two columns; the table's third came later and has no place or bit in it.
    const Cracked later = Crack(Row{}, true);
    ASSERT_TRUE(later.ok);
    EXPECT_FALSE(later.fields[1].null);
    EXPECT_TRUE(later.fields[2].null);
    EXPECT_EQ(later.fields[2].size, 0);
}

TEST(MdbRowLayoutTest, RefusesRowsWhoseOffsetsLeaveTheRow) {
    struct Case {
        const char* what;
        Row row;
        std::size_t size = kRowSize;
    };
    Row tooManyVariable, textPastRow, countPastRow;
    tooManyVariable.variableColumns = 5;  // their offsets would lie before the row
    textPastRow.textEnd = 40;
    countPastRow.columns = 200;  // a 25-byte null mask in a 15-byte row
    const Case cases[] = {
        {"offset table before the row", tooManyVariable},       {"text ending past the row", textPastRow},
        {"null mask larger than the row", countPastRow},        {"row of one byte", Row{}, 1},
        {"row cut before its variable-column count", Row{}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(Crack(c.row, false, c.size).ok);
    }
    EXPECT_FALSE(Crack(Row{}, false, kPageSize - kRowStart + 1).ok) << "row past the page";
}

}  // namespace
}  // namespace calvorin
