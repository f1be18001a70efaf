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
#include "platform/db/MdbHandles.h"
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

std::uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

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

// The index's entries in index order: down the first entries to the leftmost leaf, then along the leaves.
std::vector<IndexEntry> ReadIndex(MdbHandle* mdb, std::uint32_t root, const PageLayout& layout) {
    std::uint32_t page = root;
    for (int depth = 0;; ++depth) {
        if (depth > 10) throw std::runtime_error("index too deep");
        mdb_read_pg(mdb, page);
        if (mdb->pg_buf[0] == kLeafPage) break;
        if (mdb->pg_buf[0] != kIndexPage) throw std::runtime_error("not an index page");
        // An entry of an inner page ends with its child page, most significant byte first.
        const std::string first = PageEntries(mdb->pg_buf, layout).at(0);
        page = 0;
        for (std::size_t i = first.size() - 4; i < first.size(); ++i)
            page = (page << 8) | static_cast<unsigned char>(first[i]);
    }
    std::vector<IndexEntry> out;
    while (page != 0) {
        mdb_read_pg(mdb, page);
        for (const std::string& e : PageEntries(mdb->pg_buf, layout)) {
            auto byte = [&e](std::size_t i) {
                return std::uint32_t{static_cast<unsigned char>(e[e.size() - 4 + i])};
            };
            out.push_back({e.substr(0, e.size() - 4), (byte(0) << 16) | (byte(1) << 8) | byte(2), byte(3)});
        }
        page = Le32(mdb->pg_buf + layout.nextPage);
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
    std::string idColumn;
    // Row identity -> Access's rank: how many entries have a smaller key.
    std::map<std::string, std::size_t> rank;
};

std::string ColumnName(MdbTableDef* table, int number) {
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, number - 1))->name;
}

// Every index of the file over at least one text column, with Access's rank of each row.
std::vector<IndexTruth> IndexesOverText(const fs::path& file, const std::vector<std::string>& onlyTables) {
    MdbPtr mdb(mdb_open(file.c_str(), MDB_NOFLAGS));
    if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE))
        throw std::runtime_error("cannot read " + file.string());
    const PageLayout& layout = IS_JET3(mdb.get()) ? kJet3Layout : kJet4Layout;
    std::vector<IndexTruth> out;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        const std::string name = entry->object_name;
        if (entry->object_type != MDB_TABLE || name.starts_with("MSys")) continue;
        if (!onlyTables.empty() && std::find(onlyTables.begin(), onlyTables.end(), name) == onlyTables.end())
            continue;
        MdbTablePtr table(mdb_read_table(entry));
        mdb_read_columns(table.get());
        mdb_read_indices(table.get());
        // Rows are named by the primary key's column, or the first column when there is none.
        int idColumn = 1;
        for (unsigned x = 0; x < table->num_idxs; ++x) {
            auto* idx = static_cast<MdbIndex*>(g_ptr_array_index(table->indices, x));
            if (idx->index_type == 1) idColumn = idx->key_col_num[0];
        }
        std::vector<char> value(MDB_BIND_SIZE);
        int length = 0;
        mdb_bind_column(table.get(), idColumn, value.data(), &length);
        std::map<std::pair<std::uint32_t, std::uint32_t>, std::string> rowIds;
        mdb_rewind_table(table.get());
        while (mdb_fetch_row(table.get()))
            rowIds[{table->cur_phys_pg, table->cur_row - 1}] =
                std::string(value.data(), static_cast<std::size_t>(length));
        for (unsigned x = 0; x < table->num_idxs; ++x) {
            auto* idx = static_cast<MdbIndex*>(g_ptr_array_index(table->indices, x));
            IndexTruth truth{name, idx->name, {}, ColumnName(table.get(), idColumn), {}};
            bool overText = false;
            for (unsigned k = 0; k < idx->num_keys; ++k) {
                auto* column =
                    static_cast<MdbColumn*>(g_ptr_array_index(table->columns, idx->key_col_num[k] - 1));
                const bool text = column->col_type == MDB_TEXT;
                overText = overText || text;
                truth.columns.push_back({column->name, text, idx->key_col_order[k] != MDB_ASC});
            }
            if (!overText) continue;
            const std::vector<IndexEntry> entries = ReadIndex(mdb.get(), idx->first_pg, layout);
            for (std::size_t e = 0, classStart = 0; e < entries.size(); ++e) {
                if (e > 0 && entries[e].key != entries[e - 1].key) classStart = e;
                auto row = rowIds.find({entries[e].page, entries[e].row});
                if (row == rowIds.end()) throw std::runtime_error("index entry without its row in " + name);
                truth.rank[row->second] = classStart;
            }
            if (truth.rank.size() != rowIds.size())
                throw std::runtime_error("index and table differ in " + name);
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
    Query q = db.Prepare("SELECT CAST(" + Quoted(truth.idColumn) + " AS TEXT) AS id FROM " +
                         Quoted(truth.table) + " ORDER BY " + orderBy);
    std::vector<std::pair<std::string, std::size_t>> ours;  // row, Access's rank
    while (q.Next()) ours.emplace_back(q.Text("id"), truth.rank.at(q.Text("id")));
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
