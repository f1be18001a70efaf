// SPDX-License-Identifier: GPL-3.0-or-later
// Reading real Access files (public samples, Jet 3 and Jet 4), checked against mdbtools' mdb-export.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/SharedData.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

// mdb-export output is split at markers that no sample text contains (one holds every byte value).
constexpr std::string_view kField = "<#F#>";
constexpr std::string_view kRow = "<#R#>";
constexpr std::string_view kNull = "<#N#>";
constexpr const char* kDateFormat = "%Y-%m-%d %H:%M:%S";
// mdb-export prints this for dates it cannot convert (before 1899-12-30 or after about 4637).
constexpr const char* kPeerBadDate = "1900-01-00 00:00:00";

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    for (std::size_t at; (at = text.find(separator)) != std::string_view::npos;
         text.remove_prefix(at + separator.size()))
        parts.emplace_back(text.substr(0, at));
    parts.emplace_back(text);
    return parts;
}

std::vector<std::vector<std::string>> PeerRows(const fs::path& file, const std::string& table) {
    const std::string out =
        test::OutputOf("mdb-export -H -Q -b strip -d '" + std::string(kField) + "' -R '" + std::string(kRow) +
                       "' -0 '" + std::string(kNull) + "' -D '" + kDateFormat + "' -T '" + kDateFormat +
                       "' " + test::ShellQuote(file) + " " + test::ShellQuote(table));
    std::vector<std::vector<std::string>> rows;
    for (const std::string& row : Split(out, kRow))
        if (!row.empty()) rows.push_back(Split(row, kField));
    return rows;
}

// Jet's date: days since 1899-12-30, the fraction the time of day (rounded to the second, as mdbtools does).
std::string JetDateText(double days) {
    const double whole = std::floor(days);
    const auto seconds = static_cast<std::time_t>(std::llround((days - whole) * 86400.0));
    std::time_t t = (static_cast<std::time_t>(whole) - 25569) * 86400 + seconds;
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, kDateFormat, &tm);
    return text;
}

struct Column {
    std::string name;
    std::string type;
};

std::vector<Column> ColumnsOf(Database& db, const std::string& table) {
    std::vector<Column> columns;
    // Parameters are integers only, so the table name goes in as a literal.
    Query info = db.Prepare("SELECT name, type FROM pragma_table_info('" + table + "') ORDER BY cid");
    while (info.Next()) columns.push_back({info.Text("name"), info.Text("type")});
    return columns;
}

std::string SelectWithNullFlags(const std::string& table, const std::vector<Column>& columns) {
    std::string sql = "SELECT ";
    for (const Column& c : columns) sql += "\"" + c.name + "\", \"" + c.name + "\" IS NULL, ";
    return sql + "0 FROM \"" + table + "\" ORDER BY rowid";
}

void ExpectCellMatches(const Query& q, int i, const Column& column, const std::string& peer) {
    SCOPED_TRACE(column.name);
    const bool isNull = q.Integer(2 * i + 1) != 0;
    if (column.type == "BLOB") return;  // mdb-export was told to strip binary data
    ASSERT_EQ(isNull, peer == kNull) << "peer: " << peer;
    if (isNull) return;
    if (column.type == "TEXT" || column.type == "INTEGER") {
        EXPECT_EQ(q.Text(2 * i), peer);
    } else if (peer.size() == 19 && peer[4] == '-' && peer[13] == ':') {
        if (peer != kPeerBadDate) {
            EXPECT_EQ(JetDateText(q.Float(2 * i)), peer);
        }
    } else {
        const double expected = std::stod(peer);
        EXPECT_NEAR(q.Float(2 * i), expected, 1e-6 * std::max(1.0, std::fabs(expected))) << "peer: " << peer;
    }
}

// Every user table of the file, cell by cell, against mdb-export.
void ExpectSameAsMdbExport(const fs::path& file) {
    Database db = Database::Open(file);
    ASSERT_TRUE(db.IsAccessCopy());
    const std::vector<std::string> tables =
        Split(test::OutputOf("mdb-tables -1 " + test::ShellQuote(file)), "\n");
    int checked = 0;
    for (const std::string& table : tables) {
        if (table.empty()) continue;
        SCOPED_TRACE(table);
        const std::vector<Column> columns = ColumnsOf(db, table);
        ASSERT_FALSE(columns.empty());
        const auto peer = PeerRows(file, table);
        Query q = db.Prepare(SelectWithNullFlags(table, columns));
        std::size_t row = 0;
        for (; q.Next(); ++row) {
            ASSERT_LT(row, peer.size()) << "more rows than mdb-export";
            ASSERT_EQ(peer[row].size(), columns.size()) << "row " << row;
            for (std::size_t i = 0; i < columns.size(); ++i)
                ExpectCellMatches(q, static_cast<int>(i), columns[i], peer[row][i]);
        }
        EXPECT_EQ(row, peer.size());
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

class AccessSampleTest : public ::testing::TestWithParam<const char*> {};

TEST_P(AccessSampleTest, EveryTableMatchesMdbExport) {
    CALVORIN_REQUIRE_SHARED_DATA();
    ExpectSameAsMdbExport(test::AccessSamples() / GetParam());
}

INSTANTIATE_TEST_SUITE_P(Samples, AccessSampleTest,
                         ::testing::Values("nwind.mdb", "test2V2003.mdb", "testUnicodeCompV2003.mdb",
                                           "DateTestDatabase.mdb"));

class AccessFileTest : public ::testing::Test {
  protected:
    void SetUp() override { CALVORIN_REQUIRE_SHARED_DATA(); }
    static fs::path Sample(const char* name) { return test::AccessSamples() / name; }
};

TEST_F(AccessFileTest, Jet3TypesArriveAsSqliteValues) {
    Database db = Database::Open(Sample("nwind.mdb"));
    Query q = db.Prepare(
        "SELECT ProductName, UnitPrice, Discontinued, typeof(Discontinued) AS T FROM Products WHERE "
        "ProductID = ?");
    q.Bind(1, 9);
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Text("ProductName"), "Mishi Kobe Niku");
    EXPECT_DOUBLE_EQ(q.Float("UnitPrice"), 97.0);  // Currency, kept in ten-thousandths by Jet
    EXPECT_TRUE(q.Flag("Discontinued"));
    EXPECT_EQ(q.Text("T"), "integer");
    Query discontinued = db.Prepare("SELECT COUNT(*) AS N FROM Products WHERE Discontinued = True");
    ASSERT_TRUE(discontinued.Next());
    EXPECT_EQ(discontinued.Integer("N"), 8);
}

TEST_F(AccessFileTest, AccentedNamesMemosAndNulls) {
    Database db = Database::Open(Sample("nwind.mdb"));
    Query umsaetze = db.Prepare("SELECT COUNT(*) AS N FROM Umsätze");
    ASSERT_TRUE(umsaetze.Next());
    EXPECT_GT(umsaetze.Integer("N"), 0);
    Query notes = db.Prepare("SELECT Notes FROM Employees WHERE EmployeeID = 1");
    ASSERT_TRUE(notes.Next());
    EXPECT_THAT(notes.Text("Notes"), HasSubstr("Toastmasters International."));
    Query region =
        db.Prepare("SELECT ShipRegion, ShipRegion IS NULL AS Nullo FROM Orders WHERE OrderID = 10331");
    ASSERT_TRUE(region.Next());
    EXPECT_EQ(region.Text("ShipRegion"), "");
    EXPECT_TRUE(region.Flag("Nullo"));
}

TEST_F(AccessFileTest, CompressedUnicodeTextsDecode) {
    Database db = Database::Open(Sample("testUnicodeCompV2003.mdb"));
    Query q = db.Prepare("SELECT Unicode FROM \"Table\" WHERE ID = ?");
    const std::pair<int, const char*> cases[] = {
        {2, "ääkkösiä"}, {3, "Мир"}, {5, "漢字仮名交じり文"}, {7, "ümlaut"}};
    for (const auto& [id, text] : cases) {
        SCOPED_TRACE(id);
        q.Bind(1, id);
        ASSERT_TRUE(q.Next());
        EXPECT_EQ(q.Text("Unicode"), text);
    }
}

TEST_F(AccessFileTest, DatesAreDaysSince18991230) {
    using namespace std::chrono;
    const sys_days epoch = 1899y / December / 30;
    Database db = Database::Open(Sample("DateTestDatabase.mdb"));
    Query q = db.Prepare("SELECT DateTimeCol, LongTextCol FROM DateTest WHERE IDCol = ?");
    q.Bind(1, 1);
    ASSERT_TRUE(q.Next());
    EXPECT_DOUBLE_EQ(q.Float("DateTimeCol"), (sys_days(2021y / December / 2) - epoch).count());
    // Beyond what mdb-export can print; the row's own text names the year.
    q.Bind(1, 2);
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Text("LongTextCol"), "Year 9999");
    const year_month_day date{epoch + days(static_cast<long>(q.Float("DateTimeCol")))};
    EXPECT_EQ(date.year(), 9999y);
}

TEST_F(AccessFileTest, DecimalsAreScaledByTheirScaleNotTheirPrecision) {
    Database db = Database::Open(Sample("fixedNumericTestV2000.mdb"));
    // Numeric(18, 0) columns holding 1, 4 and -1.
    Query q = db.Prepare("SELECT col2, col5, col6 FROM test");
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Float("col2"), 1.0);
    EXPECT_EQ(q.Float("col5"), 4.0);
    EXPECT_EQ(q.Float("col6"), -1.0);
}

TEST_F(AccessFileTest, ReplicationIdsReadInAccessForm) {
    Database db = Database::Open(Sample("testIndexCodesV1997.mdb"), {"Table13"});
    // Stored as 6A 27 39 8E  A8 BC  C4 4A  89 1E  49 91 1D 84 38 DD.
    Query q = db.Prepare("SELECT data FROM Table13 WHERE name = 'row0'");
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Text("data"), "{8E39276A-BCA8-4AC4-891E-49911D8438DD}");
}

TEST_F(AccessFileTest, OnlyTheRequestedTablesAreCopied) {
    Database db = Database::Open(Sample("nwind.mdb"), {"products", "UMSÄTZE", "Umsätze", "Missing"});
    EXPECT_TRUE(db.Prepare("SELECT * FROM Products").Next());
    EXPECT_TRUE(db.Prepare("SELECT * FROM Umsätze").Next());
    for (const char* sql : {"SELECT * FROM Orders", "SELECT * FROM Missing"}) {
        SCOPED_TRACE(sql);
        try {
            db.Prepare(sql);
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_THAT(e.what(), HasSubstr("no such table"));
        }
    }
}

TEST_F(AccessFileTest, TheCopyTakesIndexesAndAWrongColumnFails) {
    Database db = Database::Open(Sample("nwind.mdb"), {"Order Details"});
    db.ExecuteOnCopy("CREATE INDEX IxOrder ON \"Order Details\" (OrderID)");
    Query q = db.Prepare("SELECT SUM(Quantity) AS Q FROM \"Order Details\" WHERE OrderID = ?");
    q.Bind(1, 10248);
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Integer("Q"), 27);  // 12 + 10 + 5, Northwind's first order
    EXPECT_THROW(db.Prepare("SELECT Sconto FROM \"Order Details\""), std::runtime_error);
}

TEST_F(AccessFileTest, ReadingLeavesTheFileUntouched) {
    test::TempDir dir;
    const fs::path file = dir / "Lega-1-2024.mdb";
    fs::copy_file(Sample("nwind.mdb"), file);
    fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(2));
    const std::string bytes = test::ReadBytes(file);
    const auto mtime = fs::last_write_time(file);
    {
        Database db = Database::Open(file);
        EXPECT_TRUE(db.Prepare("SELECT * FROM Orders").Next());
    }
    EXPECT_EQ(test::ReadBytes(file), bytes);
    EXPECT_EQ(fs::last_write_time(file), mtime);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1) << "lock or journal file left behind";
}

TEST_F(AccessFileTest, DamagedFilesFailWithoutCrashing) {
    test::TempDir dir;
    const std::string whole = test::ReadBytes(Sample("nwind.mdb"));
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string badVersion = whole.substr(0, 8192);
    badVersion[0x14] = '\x7f';  // unknown Jet version
    const Case cases[] = {
        {"half.mdb", whole.substr(0, whole.size() / 2)},
        {"cut.mdb", whole.substr(0, whole.size() - 100)},
        {"header.mdb", whole.substr(0, 2048)},
        {"magic-only.mdb", whole.substr(0, 64)},
        {"version.mdb", badVersion},
        {"garbage.mdb", std::string(whole.substr(0, 20)) + std::string(100000, '\xA5')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteBytes(dir / c.name, c.bytes);
        try {
            Database::Open(dir / c.name);
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_THAT(e.what(), HasSubstr("Impossibile aprire il database"));
        }
    }
}

}  // namespace
}  // namespace calvorin
