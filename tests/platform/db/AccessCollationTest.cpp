// SPDX-License-Identifier: GPL-3.0-or-later
// The ACCESS collation against the order Access itself keeps in the indexes of real files, and its laws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/db/AccessCollation.h"
#include "platform/db/Database.h"
#include "platform/db/JetBytes.h"
#include "platform/db/JetFile.h"
#include "platform/db/JetTableDef.h"
#include "platform/db/JetText.h"
#include "platform/db/MdbCatalog.h"
#include "platform/db/MdbRows.h"
#include "platform/db/SharedData.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;

// ---- Access's own order, read from the leaf pages of an index ----

struct PageLayout {
    std::size_t pageSize, nextPage, prefixLength, bitmap, firstEntry;
};
constexpr PageLayout kJet3Layout{2048, 0x0c, 0x14, 0x16, 0xf8};
constexpr PageLayout kJet4Layout{4096, 0x10, 0x18, 0x1b, 0x1e0};
constexpr unsigned char kLeafPage = 0x04;
constexpr unsigned char kIndexPage = 0x03;

struct IndexEntry {
    std::string key;  // the sort key, compared bytewise by Access
    std::uint32_t page;
    std::uint32_t row;
};

// The entries of one index page, with the shared prefix put back, as key bytes and the 4 trailing bytes.
std::vector<std::string> PageEntries(const unsigned char* page, const PageLayout& layout) {
    const std::size_t prefix = page[layout.prefixLength] | (page[layout.prefixLength + 1] << 8);
    std::vector<std::string> entries;
    std::size_t start = layout.firstEntry;
    for (std::size_t bit = 0; bit < (layout.firstEntry - layout.bitmap) * 8; ++bit) {
        if ((page[layout.bitmap + bit / 8] & (1u << (bit % 8))) == 0) continue;
        const std::size_t end = layout.firstEntry + bit;
        std::string entry = entries.empty() ? std::string() : entries.front().substr(0, prefix);
        entry.append(reinterpret_cast<const char*>(page + start), end - start);
        entries.push_back(std::move(entry));
        start = end;
    }
    return entries;
}

std::vector<unsigned char> ReadPage(const JetFile& file, std::uint32_t page) {
    std::vector<unsigned char> bytes(file.PageSize());
    if (!file.ReadPage(page, bytes)) throw std::runtime_error("index page past the end of the file");
    return bytes;
}

// The index's entries in index order: down the first entries to the leftmost leaf, then along the leaves.
std::vector<IndexEntry> ReadIndex(const JetFile& file, std::uint32_t root, const PageLayout& layout) {
    std::uint32_t page = root;
    for (int depth = 0;; ++depth) {
        if (depth > 10) throw std::runtime_error("index too deep");
        const std::vector<unsigned char> bytes = ReadPage(file, page);
        if (bytes[0] == kLeafPage) break;
        if (bytes[0] != kIndexPage) throw std::runtime_error("not an index page");
        // An entry of an inner page ends with its child page, most significant byte first.
        const std::string first = PageEntries(bytes.data(), layout).at(0);
        page = 0;
        for (std::size_t i = first.size() - 4; i < first.size(); ++i)
            page = (page << 8) | static_cast<unsigned char>(first[i]);
    }
    std::vector<IndexEntry> out;
    while (page != 0) {
        const std::vector<unsigned char> bytes = ReadPage(file, page);
        for (const std::string& e : PageEntries(bytes.data(), layout)) {
            auto byte = [&e](std::size_t i) {
                return std::uint32_t{static_cast<unsigned char>(e[e.size() - 4 + i])};
            };
            out.push_back({e.substr(0, e.size() - 4), (byte(0) << 16) | (byte(1) << 8) | byte(2), byte(3)});
        }
        page = Le32(bytes.data() + layout.nextPage);
    }
    return out;
}

// ---- The index definitions, which follow the column names in a table definition ----

struct IndexKey {
    std::uint16_t column;  // the column's number
    bool descending;
};
struct IndexDefinition {
    std::string name;
    std::vector<IndexKey> keys;
    std::uint32_t firstPage;
};

// Physical indexes (Jet 3: 39 bytes, Jet 4: 52 with 4 before and 9 after): ten (column, order) pairs,
// the usage map, the first page and flags. Then the logical indexes (20 bytes, Jet 4 28 with 4 before),
// each naming its physical index at +4, then their names.
std::vector<IndexDefinition> IndexesOf(const JetTableDef& table, bool jet3) {
    const std::vector<unsigned char>& b = table.bytes;
    const std::size_t physicalSize = jet3 ? 39 : 52, logicalSize = jet3 ? 20 : 28, lead = jet3 ? 0 : 4;
    const std::size_t logicalAt = table.indexesAt + table.realIndexCount * physicalSize;
    std::size_t nameAt = logicalAt + table.indexCount * logicalSize;
    std::vector<IndexDefinition> out;
    for (std::size_t i = 0; i < table.indexCount; ++i) {
        const std::uint32_t physical = Le32(&b.at(logicalAt + i * logicalSize + lead + 4));
        if (physical >= table.realIndexCount) throw std::runtime_error("logical index without its index");
        const std::size_t at = table.indexesAt + physical * physicalSize + lead;
        IndexDefinition index;
        for (std::size_t k = 0; k < 10; ++k) {
            const std::uint16_t column = Le16(&b.at(at + 3 * k));
            if (column != 0xFFFF) index.keys.push_back({column, b.at(at + 3 * k + 2) != 0x01});
        }
        index.firstPage = Le32(&b.at(at + 34));
        const std::size_t length = jet3 ? b.at(nameAt) : Le16(&b.at(nameAt));
        nameAt += jet3 ? 1 : 2;
        const std::string_view name(reinterpret_cast<const char*>(&b.at(nameAt)), length);
        index.name = jet3 ? DecodeJet3Text(name) : DecodeJet4Text(name);
        nameAt += length;
        out.push_back(std::move(index));
    }
    return out;
}

struct KeyColumn {
    std::string name;
    bool text, descending;
};
struct IndexTruth {
    std::string table, index;
    std::vector<KeyColumn> columns;
    // Row (its rowid in our copy, which keeps Jet's order) -> Access's rank: how many entries have a
    // smaller key.
    std::map<std::int64_t, std::size_t> rank;
};

const JetColumn& ColumnNumbered(const JetTableDef& table, std::uint16_t number) {
    for (const JetColumn& column : table.columns)
        if (column.number == number) return column;
    throw std::runtime_error("index over a missing column in " + table.name);
}

// Every index of the file over at least one text column, with Access's rank of each row.
std::vector<IndexTruth> IndexesOverText(const fs::path& path, const std::vector<std::string>& onlyTables) {
    const JetFile file(path);
    const PageLayout& layout = file.IsJet3() ? kJet3Layout : kJet4Layout;
    std::vector<IndexTruth> out;
    for (const JetCatalogEntry& entry : ReadUserTables(file)) {
        if (!onlyTables.empty() &&
            std::find(onlyTables.begin(), onlyTables.end(), entry.name) == onlyTables.end())
            continue;
        const JetTableDef table = ReadTableDef(file, entry.page, entry.name);
        // Rows are named by where the table lists them, and by their place in the copy, which follows it.
        std::map<std::pair<std::uint32_t, std::uint32_t>, std::int64_t> rowIds;
        ForEachMdbRow(file, table, [&](const JetRow& row) {
            rowIds.emplace(std::pair(row.pageNumber, row.rowNumber),
                           static_cast<std::int64_t>(rowIds.size()) + 1);
        });
        for (const IndexDefinition& index : IndexesOf(table, file.IsJet3())) {
            IndexTruth truth{entry.name, index.name, {}, {}};
            bool overText = false;
            for (const IndexKey& key : index.keys) {
                const JetColumn& column = ColumnNumbered(table, key.column);
                const bool text = column.type == JetType::Text;
                overText = overText || text;
                truth.columns.push_back({column.name, text, key.descending});
            }
            if (!overText) continue;
            const std::vector<IndexEntry> entries = ReadIndex(file, index.firstPage, layout);
            for (std::size_t e = 0, classStart = 0; e < entries.size(); ++e) {
                if (e > 0 && entries[e].key != entries[e - 1].key) classStart = e;
                auto row = rowIds.find({entries[e].page, entries[e].row});
                if (row == rowIds.end())
                    throw std::runtime_error("index entry without its row in " + entry.name);
                truth.rank[row->second] = classStart;
            }
            if (truth.rank.size() != rowIds.size())
                throw std::runtime_error("index and table differ in " + entry.name);
            out.push_back(std::move(truth));
        }
    }
    return out;
}

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

// Checks that sorting the rows with SQLite and our collation never puts two rows in the opposite order to
// the index. Rows Access holds equal (texts that differ only in case, say) may come in any order.
void ExpectSameOrderAsIndex(Database& db, const IndexTruth& truth) {
    std::string orderBy;
    for (const KeyColumn& c : truth.columns) {
        if (!orderBy.empty()) orderBy += ", ";
        orderBy += Quoted(c.name) + (c.text ? " COLLATE ACCESS" : "") + (c.descending ? " DESC" : " ASC");
    }
    Query q = db.Prepare("SELECT rowid AS id FROM " + Quoted(truth.table) + " ORDER BY " + orderBy);
    std::vector<std::pair<std::int64_t, std::size_t>> ours;  // row, Access's rank
    while (q.Next()) ours.emplace_back(q.Integer("id"), truth.rank.at(q.Integer("id")));
    ASSERT_EQ(ours.size(), truth.rank.size()) << truth.table;
    for (std::size_t i = 1; i < ours.size(); ++i)
        EXPECT_LE(ours[i - 1].second, ours[i].second)
            << truth.table << "." << truth.index << ": row " << ours[i - 1].first << " sorted before row "
            << ours[i].first << ", which Access's index puts first";
}

TEST(AccessCollationOnJet3, SortsEveryTextIndexOfAnAccess97FileAsTheIndexDoes) {
    // Every Windows-1252 byte between letters, upper and lower case, accents at several positions,
    // hyphens, NULLs, several columns, ascending and descending: nothing left out.
    const fs::path file = test::AccessSamples() / "testIndexCodesV1997.mdb";
    ASSERT_TRUE(fs::exists(file)) << file;
    const std::vector<IndexTruth> indexes = IndexesOverText(file, {});
    Database db = Database::Open(file);
    std::size_t rows = 0;
    for (const IndexTruth& truth : indexes) {
        ExpectSameOrderAsIndex(db, truth);
        rows += truth.rank.size();
    }
    EXPECT_EQ(indexes.size(), 40u);
    EXPECT_GT(rows, 2000u);
}

TEST(AccessCollationOnJet4, SortsTheUnicodeIndexOfAnAccess2003FileAsTheIndexDoes) {
    // Latin text with and without accents, Greek, Cyrillic and Japanese, and every character to U+00FF.
    const fs::path file = test::AccessSamples() / "testUnicodeCompV2003.mdb";
    ASSERT_TRUE(fs::exists(file)) << file;
    const std::vector<IndexTruth> indexes = IndexesOverText(file, {"Table"});
    ASSERT_EQ(indexes.size(), 1u);
    Database db = Database::Open(file);
    ExpectSameOrderAsIndex(db, indexes[0]);
    EXPECT_EQ(indexes[0].rank.size(), 8u);
}

// ---- Single comparisons, each read off an Access index key ----

struct Ordered {
    std::string_view before, after;
};

void ExpectOrdered(const std::vector<Ordered>& cases, AccessSortOrder order) {
    for (const Ordered& c : cases) {
        EXPECT_LT(CompareAccessText(c.before, c.after, order), 0) << c.before << " < " << c.after;
        EXPECT_GT(CompareAccessText(c.after, c.before, order), 0) << c.after << " > " << c.before;
    }
}

TEST(AccessCollation, LettersComeBeforeAccentsInBothVersions) {
    const std::vector<Ordered> cases = {
        {"a", "B"},      {"e", "é"},         {"é", "f"},      {"Kone", "Koné"},  {"Koné", "Konf"},
        {"Áa", "Ab"},    {"AAA-Á", "ÁAA-Á"}, {"aäa", "aab"},  {"Núñez", "Nunf"}, {"Çelik", "Cem"},
        {"a9a", "aaa"},  {"ada", "aea"},     {"asra", "aßa"}, {"aßa", "asta"},   {"aada", "aÆa"},
        {"aÆa", "aafa"}, {"aoda", "aŒa"},    {"aŒa", "aofa"}, {"aca", "aça"},    {"zola", "Мир"},
        {"aÿa", "aza"},
    };
    ExpectOrdered(cases, AccessSortOrder::Jet3);
    ExpectOrdered(cases, AccessSortOrder::Jet4);
}

TEST(AccessCollation, Access97AndLaterVersionsDisagreeWhereTheirIndexesDo) {
    // Jet 3: grave before acute, Ø, Ð and Þ letters of their own, hyphen and apostrophe weighed as
    // punctuation.
    ExpectOrdered({{"aÀa", "aÁa"},
                   {"Oz", "Øa"},
                   {"ada", "aða"},
                   {"aða", "aea"},
                   {"aza", "aþa"},
                   {"aþa", "aøa"},
                   {"D'Ambrosio", "Dalbert"},
                   {"A-AAA", "AA"},
                   {"a\1a", "a a"}},
                  AccessSortOrder::Jet3);
    // Jet 4: acute before grave, Ø and Ð as O and D with a diacritic, Þ spelled "th", hyphen and
    // apostrophe out of the comparison, a space before a no-break space.
    ExpectOrdered({{"aÁa", "aÀa"},
                   {"Øa", "Oz"},
                   {"ada", "aÐa"},
                   {"aÐa", "adb"},
                   {"tga", "þa"},
                   {"þa", "tia"},
                   {"Dalbert", "D'Ambrosio"},
                   {"D'Ambrosio", "Dan"},
                   {"AA", "A-AAA"},
                   {"a b", "a\u00A0b"}},
                  AccessSortOrder::Jet4);
}

TEST(AccessCollation, OtherScriptsFollowLatinInCodePointOrderWithoutCase) {
    ExpectOrdered({{"ϰαὶ", "Мир"}, {"Мир", "漢字"}, {"Б", "мир"}, {"мир", "Я"}}, AccessSortOrder::Jet4);
}

TEST(AccessCollation, TextsAccessHoldsEqualStillHaveOneOrder) {
    // Access keeps no case in its keys (and, in Jet 4, no hyphen): the collation still never calls two
    // different texts equal, so both routes of the generator sort them alike.
    const std::vector<std::pair<std::string_view, std::string_view>> same = {
        {"de Rossi", "De Rossi"}, {"a", "A"}, {"aàa", "aÀa"}, {"JeanPaul", "Jean-Paul"}};
    for (AccessSortOrder order : {AccessSortOrder::Jet3, AccessSortOrder::Jet4})
        for (const auto& [a, b] : same) {
            const int ab = CompareAccessText(a, b, order);
            EXPECT_NE(ab, 0) << a << " / " << b;
            EXPECT_EQ(ab > 0, CompareAccessText(b, a, order) < 0) << a << " / " << b;
            EXPECT_EQ(CompareAccessText(a, a, order), 0) << a;
        }
}

TEST(AccessCollation, BytesThatAreNotUtf8ReadAsWindows1252) {
    // 0xE9 alone is é in Windows-1252; cut and stray sequences are read byte by byte, never beyond the end.
    for (AccessSortOrder order : {AccessSortOrder::Jet3, AccessSortOrder::Jet4}) {
        ExpectOrdered(
            {{"e", "\xE9"}, {"\xE9", "f"}, {"Kon\xE9", "Konf"}, {"a\xC3", "ab"}, {"\xC3", "\xC3\xA9"}},
            order);
        EXPECT_EQ(CompareAccessText(std::string_view("\xE2\x82", 2), std::string_view("\xE2\x82", 2), order),
                  0);
    }
}

TEST(AccessCollation, IsAStrictWeakOrdering) {
    const std::vector<std::string> texts = {
        "",         "a",        "A",          "á",       "à", "Á", "ab",   "a-b",   "a'b",
        "a b",      "a\u00A0b", "æ",          "ae",      "Æ", "ß", "ss",   "Œuvre", "oeuvre",
        "Ø",        "o",        "þ",          "th",      "1", "¹", "\xE9", "é",     "\xC3",
        "\xFF\xFE", "Мир",      "мир",        "漢字",    "€", "Ž", "Zola", "Çelik", "Núñez",
        "de Rossi", "De Rossi", "D'Ambrosio", "Dalbert", "ź", "ł",
    };
    for (AccessSortOrder order : {AccessSortOrder::Jet3, AccessSortOrder::Jet4}) {
        auto sign = [order](const std::string& a, const std::string& b) {
            const int c = CompareAccessText(a, b, order);
            return (c > 0) - (c < 0);
        };
        for (const std::string& a : texts)
            for (const std::string& b : texts) {
                ASSERT_EQ(sign(a, b), -sign(b, a)) << a << " / " << b;
                for (const std::string& c : texts) {
                    if (sign(a, b) <= 0 && sign(b, c) <= 0) {
                        ASSERT_LE(sign(a, c), 0) << a << " / " << b << " / " << c;
                    }
                }
            }
    }
}

}  // namespace
}  // namespace calvorin
