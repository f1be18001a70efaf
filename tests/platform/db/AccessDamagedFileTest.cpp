// SPDX-License-Identifier: GPL-3.0-or-later
// Access files damaged where the reader follows a count, an offset or a chain: each is refused with a
// message naming what is damaged, never read past its bounds, round a loop, or into a huge allocation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/JetFile.h"
#include "platform/db/JetPageRows.h"
#include "platform/db/JetTableDef.h"
#include "platform/db/JetTestFiles.h"
#include "platform/db/MdbCatalog.h"
#include "platform/db/MdbRowCopier.h"
#include "platform/db/MdbRows.h"
#include "platform/db/SharedData.h"
#include "support/TempDir.h"
#include "tools/demo/JetWriter.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;
using test::Get32;
using test::Put16;
using test::Put32;

// Jet 4 offsets: in a table definition, the next page of the chain, the column count, the row count and
// the usage map's pointer; on a data page, the row count and the first row's offset.
constexpr std::size_t kNextDefinitionPage = 4, kColumnCount = 45, kRowCount = 16, kUsageMap = 55;
constexpr std::size_t kPageRowCount = 12, kFirstRowOffset = 14;
constexpr std::uint16_t kOverflowFlag = 0x4000;

// Where the things to damage lie in a file: found with the reader itself, on the sound file.
struct Landmarks {
    std::size_t pageSize = 0;
    std::uint32_t definition = 0;                   // the table's first definition page
    std::uint32_t dataPage = 0;                     // the page of its first row
    std::vector<std::size_t> longValues;            // the 12-byte headers of the Memos kept on LVAL pages
    std::size_t lvalRow = 0;                        // the LVAL row the first of them points to
    std::map<std::string, std::size_t> catalogIds;  // each user table's Id in MSysObjects
};

// File offset of a field of a row Jet has not moved.
std::size_t At(const Landmarks& at, const JetRow& row, std::size_t field) {
    return row.pageNumber * at.pageSize + row.fields[field].start;
}

std::size_t ColumnIndex(const JetTableDef& table, const std::string& name) {
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        if (table.columns[i].name == name) return i;
    return table.columns.size();
}

Landmarks Find(const fs::path& path, const std::string& tableName, const std::string& memoColumn = "") {
    const JetFile file(path);
    Landmarks at;
    at.pageSize = file.PageSize();
    for (const JetCatalogEntry& entry : ReadUserTables(file))
        if (entry.name == tableName) at.definition = entry.page;
    const JetTableDef catalog = ReadTableDef(file, 2, "MSysObjects");
    const std::size_t id = ColumnIndex(catalog, "Id"), name = ColumnIndex(catalog, "Name");
    ForEachMdbRow(file, catalog, [&](const JetRow& row) {
        at.catalogIds[MdbFieldText(file, catalog.columns[name], row.page, row.fields[name])] =
            At(at, row, id);
    });
    const JetTableDef table = ReadTableDef(file, at.definition, tableName);
    const std::size_t memo = ColumnIndex(table, memoColumn);
    ForEachMdbRow(file, table, [&](const JetRow& row) {
        if (at.dataPage == 0) at.dataPage = row.pageNumber;
        if (memo == table.columns.size() || row.fields[memo].null) return;
        const unsigned char* header = row.page.data() + row.fields[memo].start;
        if ((header[3] & 0x80) == 0) at.longValues.push_back(At(at, row, memo));  // not kept inline
    });
    if (!at.longValues.empty()) {
        std::string bytes = test::ReadBytes(path);
        const std::uint32_t pointer = Get32(bytes, at.longValues[0] + 4);
        std::vector<unsigned char> page(file.PageSize());
        if (file.ReadPage(pointer >> 8, page))
            if (const auto slot = FindRowSlot(page, file.Version(), pointer & 0xFF))
                at.lvalRow = (pointer >> 8) * at.pageSize + slot->start;
    }
    return at;
}

struct Case {
    const char* what;
    std::function<void(std::string&, const Landmarks&)> damage;
    const char* message;
};

void ExpectRefused(const fs::path& sound, const Landmarks& at, const std::vector<Case>& cases) {
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = test::ReadBytes(sound);
        c.damage(bytes, at);
        test::WriteBytes(dir / "danneggiato.mdb", bytes);
        try {
            Database::Open(dir / "danneggiato.mdb");
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_THAT(e.what(), ::testing::StartsWith("Impossibile aprire il database"));
            EXPECT_THAT(e.what(), ::testing::HasSubstr(c.message));
        }
    }
}

TEST(AccessDamagedFileTest, DefinitionsPagesAndRowsThatLeadAstrayAreRefused) {
    test::TempDir dir;
    demo::jet::Table table{"Giocatore", {{"ID", demo::jet::ColumnType::Long}, {"Nome"}}, {}};
    for (int i = 1; i <= 20; ++i) table.rows.push_back({i, "Giocatore " + std::to_string(i)});
    const demo::jet::Table other{"Squadra", {{"Nome"}}, {{std::string("Prima")}}};
    const fs::path sound = dir / "lega.mdb";
    demo::jet::WriteJetDatabase({table, other}, sound);
    ASSERT_NO_THROW(Database::Open(sound));
    const Landmarks at = Find(sound, "Giocatore");
    ASSERT_NE(at.dataPage, 0u);
    const auto definition = [](const Landmarks& a, std::size_t offset) {
        return a.definition * a.pageSize + offset;
    };
    const auto data = [](const Landmarks& a, std::size_t offset) { return a.dataPage * a.pageSize + offset; };
    constexpr const char* kDefinition = "definizione della tabella \"Giocatore\" illeggibile";
    constexpr const char* kRow = "riga danneggiata nella tabella \"Giocatore\"";
    const std::vector<Case> cases = {
        {"definition chain to a page past the end",
         [&](std::string& b, const Landmarks& a) {
             Put32(b, definition(a, kNextDefinitionPage), 0x00FFFFFF);
         },
         kDefinition},
        {"definition chain that comes back to its first page",
         [&](std::string& b, const Landmarks& a) {
             Put32(b, definition(a, kNextDefinitionPage), a.definition);
         },
         kDefinition},
        {"definition chain to a data page",
         [&](std::string& b, const Landmarks& a) {
             Put32(b, definition(a, kNextDefinitionPage), a.dataPage);
         },
         kDefinition},
        {"column count of 65535",
         [&](std::string& b, const Landmarks& a) { Put16(b, definition(a, kColumnCount), 0xFFFF); },
         kDefinition},
        {"column count past the definition's bytes",
         [&](std::string& b, const Landmarks& a) { Put16(b, definition(a, kColumnCount), 200); },
         kDefinition},
        {"no columns", [&](std::string& b, const Landmarks& a) { Put16(b, definition(a, kColumnCount), 0); },
         kDefinition},
        {"usage map on a page past the end",
         [&](std::string& b, const Landmarks& a) { Put32(b, definition(a, kUsageMap), 0xFFFFFF00); },
         kDefinition},
        {"usage map in a row its page lacks",
         [&](std::string& b, const Landmarks& a) {
             Put32(b, definition(a, kUsageMap), (Get32(b, definition(a, kUsageMap)) & ~0xFFu) | 0xF0);
         },
         kDefinition},
        {"row count that no page holds",
         [&](std::string& b, const Landmarks& a) { Put32(b, definition(a, kRowCount), 0xFFFFFFFF); },
         "tabella \"Giocatore\" incompleta"},
        {"row offset past the page",
         [&](std::string& b, const Landmarks& a) { Put16(b, data(a, kFirstRowOffset), 0x1FFF); }, kRow},
        {"row offsets that run past the page",
         [&](std::string& b, const Landmarks& a) { Put16(b, data(a, kPageRowCount), 0x7FFF); }, kRow},
        {"moved row on a page past the end",
         [&](std::string& b, const Landmarks& a) {
             const unsigned offset = test::Get16(b, data(a, kFirstRowOffset));
             Put32(b, data(a, offset), 0x00FFFF00);  // row 0 of page 0xFFFF
             Put16(b, data(a, kFirstRowOffset), offset | kOverflowFlag);
         },
         kRow},
        {"moved row on a page of no data",
         [&](std::string& b, const Landmarks& a) {
             const unsigned offset = test::Get16(b, data(a, kFirstRowOffset));
             Put32(b, data(a, offset), a.definition << 8);
             Put16(b, data(a, kFirstRowOffset), offset | kOverflowFlag);
         },
         kRow},
        {"two moved rows with one copy",
         [&](std::string& b, const Landmarks& a) {
             for (unsigned slot = 0; slot < 2; ++slot) {
                 const unsigned offset = test::Get16(b, data(a, kFirstRowOffset + 2 * slot));
                 Put32(b, data(a, offset), a.dataPage << 8 | 2);  // row 2 of the same page
                 Put16(b, data(a, kFirstRowOffset + 2 * slot), offset | kOverflowFlag);
             }
         },
         kRow},
        {"two tables on one definition",
         [&](std::string& b, const Landmarks& a) {
             const std::size_t other = a.catalogIds.at("Squadra");
             Put32(b, other, (Get32(b, other) & 0xFF000000) | a.definition);
         },
         "catalogo delle tabelle danneggiato"},
        {"catalog definition with a column count of 65535",
         [&](std::string& b, const Landmarks& a) { Put16(b, 2 * a.pageSize + kColumnCount, 0xFFFF); },
         "definizione della tabella \"MSysObjects\" illeggibile"},
        {"database key set on pages that are not encoded",
         [&](std::string& b, const Landmarks&) {
             const std::string encoded = test::EncodeJetFile(b, 0x01020304);
             b.replace(0, 0x100, encoded.substr(0, 0x100));
         },
         "definizione della tabella \"MSysObjects\" illeggibile"},
    };
    ExpectRefused(sound, at, cases);
}

TEST(AccessDamagedFileTest, LongValuesThatLeadAstrayAreRefused) {
    const fs::path sound = test::AccessSamples() / "nwind.mdb";
    const Landmarks at = Find(sound, "Employees", "Notes");
    ASSERT_GE(at.longValues.size(), 2u) << "too few Memos kept on LVAL pages";
    ASSERT_NE(at.lvalRow, 0u);
    constexpr const char* kValue = "valore danneggiato nella colonna \"Notes\"";
    const std::vector<Case> cases = {
        {"LVAL page past the end",
         [](std::string& b, const Landmarks& a) { Put32(b, a.longValues[0] + 4, 0xFFFFFF00); }, kValue},
        {"LVAL row its page lacks",
         [](std::string& b, const Landmarks& a) {
             Put32(b, a.longValues[0] + 4, (Get32(b, a.longValues[0] + 4) & ~0xFFu) | 0xF0);
         },
         kValue},
        {"LVAL chain that comes back to its first row",
         [](std::string& b, const Landmarks& a) {
             Put32(b, a.longValues[0], 0x00FFFFFF);  // a chained value, longer than any row
             Put32(b, a.lvalRow, Get32(b, a.longValues[0] + 4));
         },
         kValue},
        {"two values in one LVAL row",
         [](std::string& b, const Landmarks& a) {
             Put32(b, a.longValues[1], Get32(b, a.longValues[0]));
             Put32(b, a.longValues[1] + 4, Get32(b, a.longValues[0] + 4));
         },
         kValue},
        {"flags Jet does not write",
         [](std::string& b, const Landmarks& a) { b[a.longValues[0] + 3] = 0x20; }, kValue},
    };
    ExpectRefused(sound, at, cases);
}

}  // namespace
}  // namespace calvorin
