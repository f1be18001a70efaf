// SPDX-License-Identifier: GPL-3.0-or-later
// Reading real Access files (public samples, Jet 3 and Jet 4, plain and encoded) as mdb-export and
// mdb-reader read them.
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
using json = nlohmann::json;
namespace fs = std::filesystem;

// mdb-export output is split at markers that no sample text contains (one holds every byte value).
constexpr std::string_view kField = "<#F#>";
constexpr std::string_view kRow = "<#R#>";
constexpr std::string_view kNull = "<#N#>";
constexpr const char* kDateFormat = "%Y-%m-%d %H:%M:%S";
// mdb-export prints this for dates it cannot convert (before 1899-12-30 or after about 4637).
constexpr const char* kPeerBadDate = "1900-01-00 00:00:00";
// What Cp1252ToUtf8 makes of the five bytes Windows-1252 leaves undefined.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    for (std::size_t at; (at = text.find(separator)) != std::string_view::npos;
         text.remove_prefix(at + separator.size()))
        parts.emplace_back(text.substr(0, at));
    parts.emplace_back(text);
    return parts;
}

std::string Printf(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string FromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

// One value of our copy: SQLite's storage class and the value (a BLOB as upper-case hex).
struct Cell {
    std::string storage;
    std::int64_t integer = 0;
    double real = 0;
    std::string text;
    bool operator==(const Cell&) const = default;
};

std::string Describe(const Cell& c) {
    if (c.storage == "integer") return "integer " + std::to_string(c.integer);
    if (c.storage == "real") return "real " + Printf("%.17g", c.real);
    if (c.storage == "null") return "null";
    return c.storage + " \"" + c.text + "\"";
}

using Row = std::vector<Cell>;

struct Table {
    std::vector<std::string> columns;
    std::vector<Row> rows;
    bool operator==(const Table&) const = default;
};

// Every table of our copy, rows in the order the copy holds them.
std::map<std::string, Table> OurTables(const fs::path& file) {
    Database db = Database::Open(file);
    EXPECT_TRUE(db.IsAccessCopy());
    std::map<std::string, Table> tables;
    Query names = db.Prepare("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    while (names.Next()) {
        Table& table = tables[names.Text(0)];
        // Parameters are integers only, so the table name goes in as a literal.
        Query info = db.Prepare("SELECT name FROM pragma_table_info('" + names.Text(0) + "') ORDER BY cid");
        std::string sql = "SELECT ";
        while (info.Next()) {
            table.columns.push_back(info.Text(0));
            const std::string c = "\"" + info.Text(0) + "\"";
            sql += "typeof(" + c + "), " + c + ", hex(" + c + "), ";
        }
        Query q = db.Prepare(sql + "0 FROM \"" + names.Text(0) + "\" ORDER BY rowid");
        while (q.Next()) {
            Row& row = table.rows.emplace_back();
            for (int i = 0; i < static_cast<int>(table.columns.size()); ++i) {
                Cell& cell = row.emplace_back();
                cell.storage = q.Text(3 * i);
                cell.integer = q.Integer(3 * i + 1);
                cell.real = q.Float(3 * i + 1);
                cell.text = q.Text(cell.storage == "blob" ? 3 * i + 2 : 3 * i + 1);
            }
        }
    }
    return tables;
}

struct ReaderTable {
    std::vector<std::string> columns;
    std::vector<std::string> types;  // mdb-reader's type names: "long", "text", "repid", ...
    std::vector<std::vector<json>> rows;
};

// Every table as the JavaScript reader mdb-reader sees it (tests/platform/db/mdb_reader_dump.mjs).
std::map<std::string, ReaderTable> MdbReaderTables(const fs::path& file) {
    const fs::path script = fs::path(CALVORIN_SOURCE_DIR) / "tests/platform/db/mdb_reader_dump.mjs";
    const std::string out =
        test::OutputOf("node " + test::ShellQuote(script) + " " + test::ShellQuote(CALVORIN_PEER_MODULES) +
                       " " + test::ShellQuote(file));
    std::map<std::string, ReaderTable> tables;
    for (const std::string& line : Split(out, "\n")) {
        if (line.empty()) continue;
        const json dump = json::parse(line);
        ReaderTable& table = tables[dump.at("table").get<std::string>()];
        for (const json& column : dump.at("columns")) {
            table.columns.push_back(column.at("name").get<std::string>());
            table.types.push_back(column.at("type").get<std::string>());
        }
        for (const json& row : dump.at("rows")) table.rows.push_back(row.get<std::vector<json>>());
    }
    return tables;
}

std::vector<std::vector<std::string>> MdbExportRows(const fs::path& file, const std::string& table) {
    const std::string out =
        test::OutputOf("mdb-export -H -Q -b hex -d '" + std::string(kField) + "' -R '" + std::string(kRow) +
                       "' -0 '" + std::string(kNull) + "' -D '" + kDateFormat + "' -T '" + kDateFormat +
                       "' " + test::ShellQuote(file) + " " + test::ShellQuote(table));
    std::vector<std::vector<std::string>> rows;
    for (const std::string& row : Split(out, kRow))
        if (!row.empty()) rows.push_back(Split(row, kField));
    return rows;
}

// The SQLite storage class each Jet type is copied as (MdbImport.h), by mdb-reader's name of the type.
std::string StorageOf(const std::string& type) {
    static const std::map<std::string, std::string> storage = {
        {"boolean", "integer"}, {"byte", "integer"}, {"integer", "integer"}, {"long", "integer"},
        {"float", "real"},      {"double", "real"},  {"currency", "real"},   {"numeric", "real"},
        {"datetime", "real"},   {"text", "text"},    {"memo", "text"},       {"repid", "text"},
        {"ole", "blob"},        {"binary", "blob"}};
    const auto found = storage.find(type);
    return found == storage.end() ? "unknown type " + type : found->second;
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

// mdb-reader's date: milliseconds since 1970, computed and rounded as it does (Math.round).
double JsMilliseconds(double days) {
    return std::floor((days - 25569) * 86400 * 1000 + 0.5);
}

bool SameAsMdbReader(const Cell& c, const std::string& type, const json& peer) {
    if (peer.is_null()) return c.storage == "null";
    if (c.storage != StorageOf(type)) return false;
    if (type == "boolean") return c.integer == (peer.get<bool>() ? 1 : 0);
    if (c.storage == "integer") return c.integer == peer.get<std::int64_t>();
    if (type == "float" || type == "double") return c.real == peer.get<double>();
    // Exact decimals, which strtod rounds to the nearest double as our copy should.
    if (type == "currency" || type == "numeric") return c.real == std::stod(peer.get<std::string>());
    // mdb-reader keeps dates to the millisecond.
    if (type == "datetime") return JsMilliseconds(c.real) == peer.get<double>();
    // mdb-reader writes a GUID bare and in lower case; Access shows it in braces, upper case.
    if (type == "repid") return c.text == "{" + Upper(peer.get<std::string>()) + "}";
    if (c.storage == "blob") return c.text == Upper(peer.get<std::string>());
    return c.text == peer.get<std::string>();
}

bool SameAsMdbExport(const Cell& c, const std::string& type, const std::string& peer) {
    if (peer == kNull) return c.storage == "null";
    if (c.storage != StorageOf(type)) return false;
    if (c.storage == "integer") return std::to_string(c.integer) == peer;
    // mdb-export prints a Single with %.8g and a Double with %.16lg.
    if (type == "float") return Printf("%.8g", c.real) == peer;
    if (type == "double") return Printf("%.16g", c.real) == peer;
    // mdb-export prints dates to the second, and its own mark for those it cannot convert.
    if (type == "datetime") return peer == kPeerBadDate || JetDateText(c.real) == peer;
    if (c.storage == "real") return c.real == std::stod(peer);
    // With -b hex, mdb-export hex-encodes a GUID's text too, which libmdb 1.0 writes without its fourth
    // hyphen.
    if (type == "repid") return c.text.size() == 38 && std::string(c.text).erase(24, 1) == FromHex(peer);
    if (c.storage == "blob") return c.text == peer;
    // mdb-export writes "?" for a Jet 3 byte that Windows-1252 leaves undefined, mdb-reader and we U+FFFD.
    std::string text = c.text;
    for (std::size_t at; (at = text.find(kReplacement)) != std::string::npos;)
        text.replace(at, kReplacement.size(), "?");
    return text == peer;
}

template <typename PeerRow, typename Same>
bool RowsMatch(const Row& ours, const PeerRow& peer, Same same) {
    if (ours.size() != peer.size()) return false;
    for (std::size_t i = 0; i < ours.size(); ++i)
        if (!same(i, ours[i], peer[i])) return false;
    return true;
}

template <typename PeerRow>
std::string DescribeRows(const Row& ours, const PeerRow& peer) {
    std::ostringstream text;
    text << "ours:";
    for (const Cell& c : ours) text << " [" << Describe(c) << "]";
    text << "\npeer:";
    for (const auto& v : peer) text << " [" << ::testing::PrintToString(v) << "]";
    return text.str();
}

// Whether the rows of a table are listed in the same order by us and the peers.
enum class RowOrder { Same, MovedRowsElsewhere };

// Our rows against a peer's, in order or, with MovedRowsElsewhere, each against a distinct peer row.
template <typename PeerRow, typename Same>
void ExpectSameRows(const std::vector<Row>& ours, const std::vector<PeerRow>& peer, RowOrder order,
                    Same same) {
    ASSERT_EQ(ours.size(), peer.size());
    std::vector<bool> used(peer.size());
    for (std::size_t r = 0; r < ours.size(); ++r) {
        if (order == RowOrder::Same) {
            EXPECT_TRUE(RowsMatch(ours[r], peer[r], same)) << "row " << r << "\n"
                                                           << DescribeRows(ours[r], peer[r]);
            continue;
        }
        std::size_t match = 0;
        while (match < peer.size() && (used[match] || !RowsMatch(ours[r], peer[match], same))) ++match;
        EXPECT_LT(match, peer.size()) << "row " << r << " has no match\n" << DescribeRows(ours[r], peer[r]);
        if (match < peer.size()) used[match] = true;
    }
}

template <typename T>
std::vector<std::string> NamesOf(const std::map<std::string, T>& tables) {
    std::vector<std::string> names;
    names.reserve(tables.size());
    for (const auto& entry : tables) names.push_back(entry.first);
    return names;
}

struct SampleFile {
    const char* file;
    RowOrder order;
};

void PrintTo(const SampleFile& sample, std::ostream* out) {
    *out << sample.file;
}

// Every table of the file, cell by cell, against two readers that share no code: mdbtools' mdb-export
// and the JavaScript mdb-reader. Only the differences each comparison names are allowed.
void ExpectEveryTableAsThePeersReadIt(const fs::path& file, RowOrder order) {
    ASSERT_TRUE(test::HaveProgram("node")) << "node is missing: run tools/setup.sh";
    ASSERT_TRUE(fs::exists(fs::path(CALVORIN_PEER_MODULES) / "mdb-reader" / "package.json"))
        << "mdb-reader is missing from " << CALVORIN_PEER_MODULES << ": run tools/setup.sh";
    const std::map<std::string, Table> ours = OurTables(file);
    const std::map<std::string, ReaderTable> reader = MdbReaderTables(file);
    std::vector<std::string> listed;
    for (const std::string& name : Split(test::OutputOf("mdb-tables -1 " + test::ShellQuote(file)), "\n"))
        if (!name.empty()) listed.push_back(name);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(NamesOf(ours), listed) << "mdb-tables lists other tables";
    EXPECT_EQ(NamesOf(ours), NamesOf(reader)) << "mdb-reader lists other tables";
    ASSERT_FALSE(ours.empty());
    for (const auto& [name, table] : ours) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(reader.contains(name));
        const ReaderTable& peer = reader.at(name);
        ASSERT_EQ(table.columns, peer.columns);
        {
            SCOPED_TRACE("mdb-reader");
            ExpectSameRows(table.rows, peer.rows, order, [&](std::size_t i, const Cell& c, const json& v) {
                return SameAsMdbReader(c, peer.types[i], v);
            });
        }
        SCOPED_TRACE("mdb-export");
        ExpectSameRows(table.rows, MdbExportRows(file, name), order,
                       [&](std::size_t i, const Cell& c, const std::string& v) {
                           return SameAsMdbExport(c, peer.types[i], v);
                       });
    }
}

class AccessSampleTest : public ::testing::TestWithParam<SampleFile> {};

TEST_P(AccessSampleTest, EveryTableMatchesMdbExportAndMdbReader) {
    ExpectEveryTableAsThePeersReadIt(test::AccessSamples() / GetParam().file, GetParam().order);
}

// overflowTestV2000 holds rows Jet moved to another page, leaving in their slot a pointer (flag 0x4000)
// to the copy (flag 0x8000, deleted). We read such a row in its slot, as the pointer means; both peers
// list it where the copy lies, on a later page. Same rows, another order.
INSTANTIATE_TEST_SUITE_P(
    Samples, AccessSampleTest,
    ::testing::Values(SampleFile{"nwind.mdb", RowOrder::Same}, SampleFile{"test2V2003.mdb", RowOrder::Same},
                      SampleFile{"testUnicodeCompV2003.mdb", RowOrder::Same},
                      SampleFile{"DateTestDatabase.mdb", RowOrder::Same},
                      SampleFile{"fixedNumericTestV2000.mdb", RowOrder::Same},
                      SampleFile{"testIndexCodesV1997.mdb", RowOrder::Same},
                      SampleFile{"delTestV2000.mdb", RowOrder::Same},
                      SampleFile{"overflowTestV2000.mdb", RowOrder::MovedRowsElsewhere}));

// Access's "Encode database" enciphers every page after the header with the database key: a Jet 3 sample
// and a Jet 4 league from our writer, encoded, read as their plain copies do and as both peers read them.
TEST(AccessEncodedFileTest, ReadsAsItsPlainCopyAndAsMdbExportAndMdbReader) {
    test::TempDir dir;
    demo::DemoOptions league;
    league.teams = 2;
    league.playedMatchdays = 2;
    demo::WriteLeagueMdb(demo::BuildDemoLeague(league).data, dir / "lega.mdb");
    struct Case {
        const char* what;
        fs::path plain;
        std::uint32_t key;
    };
    const Case cases[] = {{"Jet 3 sample", test::AccessSamples() / "nwind.mdb", 0x5EC0DE03},
                          {"Jet 4 league", dir / "lega.mdb", 0xA1B2C3D4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string plain = test::ReadBytes(c.plain);
        const fs::path encoded = dir / (std::string("encoded-") + c.plain.filename().string());
        test::WriteBytes(encoded, test::EncodeJetFile(plain, c.key));
        // Nothing of the catalog's definition (page 2) is left in the clear.
        const std::size_t page = plain[0x14] == 0 ? 2048 : 4096;
        EXPECT_EQ(test::ReadBytes(encoded).find(plain.substr(2 * page + 8, 64)), std::string::npos);
        EXPECT_EQ(OurTables(encoded), OurTables(c.plain));
        ExpectEveryTableAsThePeersReadIt(encoded, RowOrder::Same);
    }
}

}  // namespace
}  // namespace calvorin
