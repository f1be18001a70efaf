// SPDX-License-Identifier: GPL-3.0-or-later
// Reading real Access files (public samples, Jet 3 and Jet 4): values, types, look-ups and damage.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/JetTestFiles.h"
#include "platform/db/SharedData.h"
#include "support/TempDir.h"
#include "tools/demo/DemoLeague.h"
#include "tools/demo/LeagueSchema.h"

namespace calvorin {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

class AccessFileTest : public ::testing::Test {
  protected:
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

TEST_F(AccessFileTest, LooksUpByKeyAndAWrongColumnFails) {
    Database db = Database::Open(Sample("nwind.mdb"), {"Order Details"});
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

// The catalog's usage map, on page 6 row 0 of this Jet 3 file, rewritten in place.
TEST_F(AccessFileTest, UsageMapsOfUnknownKindAreScannedAndBrokenOnesRefused) {
    test::TempDir dir;
    const std::string whole = test::ReadBytes(Sample("nwind.mdb"));
    constexpr std::size_t kPage = 2048, kMapPage = 6, kRowTable = 10;
    const std::size_t row = kMapPage * kPage + kRowTable;
    const std::size_t map =
        kMapPage * kPage +
        ((static_cast<unsigned char>(whole[row]) | static_cast<unsigned char>(whole[row + 1]) << 8) & 0x1FFF);
    ASSERT_EQ(whole[map], '\0') << "the catalog's map is not an inline one";
    const auto countOrders = [](const fs::path& file) {
        Database db = Database::Open(file, {"Orders"});
        Query count = db.Prepare("SELECT COUNT(*) FROM Orders");
        return count.Next() ? count.Integer(0) : -1;
    };

    // A kind libmdb does not know: every page of the file is looked at, and the catalog's own are kept.
    std::string unknownKind = whole;
    unknownKind[map] = '\x02';
    test::WriteBytes(dir / "unknown.mdb", unknownKind);
    EXPECT_EQ(countOrders(dir / "unknown.mdb"), countOrders(Sample("nwind.mdb")));

    // An inline map whose pages start past the end of the file: the catalog comes out empty.
    std::string pastTheEnd = whole;
    for (int i = 1; i <= 3; ++i) pastTheEnd[map + i] = '\xFF';
    test::WriteBytes(dir / "past.mdb", pastTheEnd);
    try {
        Database::Open(dir / "past.mdb", {"Orders"});
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), HasSubstr("catalogo delle tabelle incompleto"));
    }
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
    // The catalog's usage map names an empty row on an extra data page: libmdb would copy no map at all.
    constexpr std::size_t kPage = 2048, kUsageMapRef = 2 * kPage + 35, kRowCount = 8;
    std::string emptyUsageMap = whole;
    std::string page(kPage, '\0');
    page[0] = '\x01';
    page[kRowCount] = 2;
    for (std::size_t slot : {kRowCount + 2, kRowCount + 4}) {
        page[slot] = static_cast<char>((kPage - 8) & 0xFF);
        page[slot + 1] = static_cast<char>((kPage - 8) >> 8);
    }
    const std::uint32_t mapRow = static_cast<std::uint32_t>(whole.size() / kPage) << 8 | 1;
    for (int i = 0; i < 4; ++i) emptyUsageMap[kUsageMapRef + i] = static_cast<char>(mapRow >> (8 * i));
    emptyUsageMap += page;
    const Case cases[] = {
        {"empty-usage-map.mdb", emptyUsageMap},
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
