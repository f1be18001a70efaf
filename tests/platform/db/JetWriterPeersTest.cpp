// SPDX-License-Identifier: GPL-3.0-or-later
// The demo tool's Jet 4 writer against independent readers: every cell of a varied database read back
// through Database::Open, mdb-export and mdb-reader, and every column's type through mdb-schema and
// mdb-reader.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/SharedData.h"
#include "platform/db/SqliteFile.h"
#include "support/TempDir.h"
#include "tools/demo/JetWriter.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;
namespace jet = demo::jet;
using jet::ColumnType;
using jet::Value;

// A text of n characters cycling through accented and non-Latin-1 letters.
std::string MixedText(std::size_t n) {
    static const std::vector<std::string> letters = {"a", "è", "Ç", "ü", "€", "Ω", "z", "ñ", "Ж", " "};
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += letters[i % letters.size()];
    return out;
}

jet::Table MixedTable() {
    const int max = std::numeric_limits<std::int32_t>::max(), min = std::numeric_limits<std::int32_t>::min();
    return {"Varia",
            {{"ID", ColumnType::Long},
             {"Nome", ColumnType::Text},
             {"Voto", ColumnType::Double},
             {"Attivo", ColumnType::YesNo},
             {"Nota", ColumnType::Text},
             {"Conteggio", ColumnType::Long}},
            {
                {1, std::string("Città"), 6.5, true, std::string("Müller"), 0},
                {2, std::string("Çelik"), -0.5, false, std::string("€"), -1},
                {3, std::string(""), 0.1, true, std::monostate{}, std::monostate{}},
                {4, std::monostate{}, std::monostate{}, std::monostate{}, std::string("ab"), max},
                {5, std::string("Ωmega ☃ 𝄞"), 1e300, false, std::string(255, 'x'), min},
                {6, MixedText(255), 6.3125, true, std::string(R"(D'Ambrosio "il" mago, sì)"), 42},
                {std::monostate{}, std::string("Zieliński"), -1.0, false, MixedText(120), 7},
            }};
}

// Enough rows for more than 512 data pages, past the reach of an inline usage map.
jet::Table ManyPagesTable(int rows) {
    jet::Table t{"Punteggio",
                 {{"ID", ColumnType::Long},
                  {"Voto", ColumnType::Double},
                  {"Amm", ColumnType::YesNo},
                  {"Giocatore", ColumnType::Text}},
                 {}};
    for (int i = 0; i < rows; ++i)
        t.rows.push_back({i, 4 + (i % 9) / 2.0, i % 5 == 0,
                          "Giocatore n° " + std::to_string(i) + (i % 3 ? " Ørsted" : " Kvaratskhelia €")});
    return t;
}

// 45 columns of every type in turn, with a NULL on a diagonal.
jet::Table WideTable() {
    jet::Table t{"Larga", {}, {}};
    const ColumnType types[] = {ColumnType::Long, ColumnType::Double, ColumnType::YesNo, ColumnType::Text};
    for (int c = 0; c < 45; ++c) t.columns.push_back({"Colonna" + std::to_string(c), types[c % 4]});
    for (int r = 0; r < 30; ++r) {
        std::vector<Value>& row = t.rows.emplace_back();
        for (int c = 0; c < 45; ++c) {
            if ((r + c) % 7 == 0) {
                row.emplace_back(std::monostate{});
                continue;
            }
            switch (types[c % 4]) {
                case ColumnType::Long:
                    row.emplace_back(r * 1000 + c);
                    break;
                case ColumnType::Double:
                    row.emplace_back(r + c / 8.0);
                    break;
                case ColumnType::YesNo:
                    row.emplace_back((r + c) % 2 == 0);
                    break;
                case ColumnType::Text:
                    row.emplace_back("r" + std::to_string(r) + "c" + std::to_string(c) + "à");
                    break;
            }
        }
    }
    return t;
}

// A small table placed after the big one, so its inline usage map starts past page 512.
jet::Table AfterTable() {
    jet::Table t{"Dopo", {{"Giornata", ColumnType::Long}, {"Giocata", ColumnType::YesNo}}, {}};
    for (int g = 1; g <= 600; ++g) t.rows.push_back({g, g % 2 == 1});
    return t;
}

std::vector<jet::Table> VariedDatabase() {
    return {MixedTable(), jet::Table{"Vuota", {{"ID", ColumnType::Long}, {"Nome", ColumnType::Text}}, {}},
            WideTable(), ManyPagesTable(25000), AfterTable()};
}

// A cell as text: "NULL", or the value with Yes/No as 1/0; doubles are compared as numbers separately.
struct Cell {
    bool null = true;
    std::string text;
};

Cell Expected(const Value& v, ColumnType type) {
    if (type == ColumnType::YesNo)
        return {false, std::holds_alternative<bool>(v) && std::get<bool>(v) ? "1" : "0"};
    if (std::holds_alternative<std::monostate>(v)) return {};
    if (const auto* n = std::get_if<std::int32_t>(&v)) return {false, std::to_string(*n)};
    if (const auto* d = std::get_if<double>(&v)) return {false, std::to_string(*d)};
    return {false, std::get<std::string>(v)};
}

// One line of mdb-export's CSV: quoted texts ("" inside), empty unquoted fields for NULL.
std::vector<Cell> ParseCsvLine(const std::string& line) {
    std::vector<Cell> cells;
    std::size_t i = 0;
    while (true) {
        Cell cell;
        if (i < line.size() && line[i] == '"') {
            cell.null = false;
            for (++i; i < line.size(); ++i) {
                if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                    cell.text += '"';
                    ++i;
                } else if (line[i] == '"') {
                    ++i;
                    break;
                } else {
                    cell.text += line[i];
                }
            }
        } else {
            const std::size_t end = line.find(',', i);
            cell.text = line.substr(i, end == std::string::npos ? std::string::npos : end - i);
            cell.null = cell.text.empty();
            i += cell.text.size();
        }
        cells.push_back(cell);
        if (i >= line.size()) break;
        ++i;  // the comma
    }
    return cells;
}

std::vector<std::vector<Cell>> ExportRows(const fs::path& mdb, const std::string& table) {
    std::istringstream lines(test::OutputOf("mdb-export -H " + test::ShellQuote(mdb) + " " + table));
    std::vector<std::vector<Cell>> rows;
    for (std::string line; std::getline(lines, line);) rows.push_back(ParseCsvLine(line));
    return rows;
}

std::string ShortestText(double d) {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), d).ptr;
    return {buffer.data(), end};
}

// How mdb-export prints a text: a character beyond U+FFFF as "??" (one '?' per UTF-16 unit).
std::string AsMdbExportPrints(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xF8) == 0xF0) {
            out += "??";
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

enum class Reader { Ours, MdbExport };

// Compares one cell; a Double to the last bit through Database::Open, to mdb-export's printed digits.
// mdb-export prints an empty text as it prints a NULL.
void ExpectCell(const Value& v, ColumnType type, const Cell& got, Reader reader) {
    Cell want = Expected(v, type);
    if (reader == Reader::MdbExport && type == ColumnType::Text) {
        want.text = AsMdbExportPrints(want.text);
        if (want.text.empty()) want.null = got.null;
    }
    ASSERT_EQ(got.null, want.null) << "expected " << (want.null ? "NULL" : want.text) << ", got " << got.text;
    if (want.null) return;
    if (type == ColumnType::Double) {
        const double expected = std::get<double>(v), read = std::strtod(got.text.c_str(), nullptr);
        if (reader == Reader::Ours)
            EXPECT_EQ(read, expected) << got.text;
        else
            EXPECT_NEAR(read, expected, std::abs(expected) * 1e-9) << got.text;
    } else {
        EXPECT_EQ(got.text, want.text);
    }
}

class JetWriterPeers : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        file_ = new fs::path(*dir_ / "Varia.mdb");
        jet::WriteJetDatabase(VariedDatabase(), *file_);
    }
    static void TearDownTestSuite() {
        delete file_;
        delete dir_;
    }
    static test::TempDir* dir_;
    static fs::path* file_;
};
test::TempDir* JetWriterPeers::dir_ = nullptr;
fs::path* JetWriterPeers::file_ = nullptr;

TEST_F(JetWriterPeers, MdbToolsListEveryTableInOrder) {
    EXPECT_EQ(test::OutputOf("mdb-tables -1 " + test::ShellQuote(*file_)),
              "Varia\nVuota\nLarga\nPunteggio\nDopo\n");
    EXPECT_EQ(test::OutputOf("mdb-ver " + test::ShellQuote(*file_)), "JET4\n");
}

TEST_F(JetWriterPeers, EveryCellReadsBackThroughDatabaseOpen) {
    Database db = Database::Open(*file_);
    ASSERT_TRUE(db.IsAccessCopy());
    for (const jet::Table& table : VariedDatabase()) {
        SCOPED_TRACE(table.name);
        Query q = db.Prepare("SELECT * FROM " + table.name);
        ASSERT_EQ(q.ColumnCount(), static_cast<int>(table.columns.size()));
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            ASSERT_TRUE(q.Next()) << "row " << r;
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                SCOPED_TRACE("row " + std::to_string(r) + ", " + table.columns[c].name);
                const int i = static_cast<int>(c);
                EXPECT_EQ(q.ColumnName(i), table.columns[c].name);
                const bool isDouble = table.columns[c].type == ColumnType::Double;
                ExpectCell(table.rows[r][c], table.columns[c].type,
                           {q.IsNull(i), isDouble ? ShortestText(q.Float(i)) : q.Text(i)}, Reader::Ours);
            }
        }
        EXPECT_FALSE(q.Next());
    }
}

TEST_F(JetWriterPeers, EveryCellReadsBackThroughMdbExport) {
    for (const jet::Table& table : VariedDatabase()) {
        SCOPED_TRACE(table.name);
        const auto rows = ExportRows(*file_, table.name);
        ASSERT_EQ(rows.size(), table.rows.size());
        for (std::size_t r = 0; r < rows.size(); ++r) {
            ASSERT_EQ(rows[r].size(), table.columns.size()) << "row " << r;
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                SCOPED_TRACE("row " + std::to_string(r) + ", " + table.columns[c].name);
                ExpectCell(table.rows[r][c], table.columns[c].type, rows[r][c], Reader::MdbExport);
            }
        }
    }
}

// The JavaScript reader shares no code with libmdb: names, types and every cell, an empty text apart
// from a NULL, a Double to the last bit.
TEST_F(JetWriterPeers, EveryCellReadsBackThroughMdbReader) {
    ASSERT_TRUE(fs::exists(fs::path(CALVORIN_PEER_MODULES) / "mdb-reader" / "package.json"))
        << "mdb-reader is missing from " << CALVORIN_PEER_MODULES << ": run tools/setup.sh";
    const fs::path script = fs::path(CALVORIN_SOURCE_DIR) / "tests/platform/db/mdb_reader_dump.mjs";
    std::istringstream lines(test::OutputOf("node " + test::ShellQuote(script) + " " +
                                            test::ShellQuote(CALVORIN_PEER_MODULES) + " " +
                                            test::ShellQuote(*file_)));
    const std::map<ColumnType, std::string> typeNames = {{ColumnType::Long, "long"},
                                                         {ColumnType::Double, "double"},
                                                         {ColumnType::YesNo, "boolean"},
                                                         {ColumnType::Text, "text"}};
    const std::vector<jet::Table> tables = VariedDatabase();
    std::size_t t = 0;
    for (std::string line; std::getline(lines, line); ++t) {
        ASSERT_LT(t, tables.size()) << "more tables than were written";
        const jet::Table& table = tables[t];
        SCOPED_TRACE(table.name);
        const nlohmann::json dump = nlohmann::json::parse(line);
        EXPECT_EQ(dump.at("table"), table.name);
        ASSERT_EQ(dump.at("columns").size(), table.columns.size());
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            EXPECT_EQ(dump["columns"][c].at("name"), table.columns[c].name);
            EXPECT_EQ(dump["columns"][c].at("type"), typeNames.at(table.columns[c].type));
        }
        const nlohmann::json& rows = dump.at("rows");
        ASSERT_EQ(rows.size(), table.rows.size());
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (std::size_t c = 0; c < table.columns.size(); ++c) {
                SCOPED_TRACE("row " + std::to_string(r) + ", " + table.columns[c].name);
                const Value& v = table.rows[r][c];
                const nlohmann::json& got = rows[r][c];
                if (table.columns[c].type == ColumnType::YesNo) {
                    EXPECT_EQ(got, std::holds_alternative<bool>(v) && std::get<bool>(v));
                } else if (std::holds_alternative<std::monostate>(v)) {
                    EXPECT_TRUE(got.is_null()) << got;
                } else if (const auto* n = std::get_if<std::int32_t>(&v)) {
                    EXPECT_EQ(got, *n);
                } else if (const auto* d = std::get_if<double>(&v)) {
                    EXPECT_EQ(got.get<double>(), *d);
                } else {
                    EXPECT_EQ(got, std::get<std::string>(v));
                }
            }
        }
    }
    EXPECT_EQ(t, tables.size());
}

TEST_F(JetWriterPeers, MdbSchemaGivesEveryColumnItsAccessType) {
    const std::map<ColumnType, std::string> names = {{ColumnType::Long, "Long Integer"},
                                                     {ColumnType::Double, "Double"},
                                                     {ColumnType::YesNo, "Boolean"},
                                                     {ColumnType::Text, "Text (255)"}};
    for (const jet::Table& table : VariedDatabase()) {
        SCOPED_TRACE(table.name);
        const std::string schema =
            test::OutputOf("mdb-schema -T " + table.name + " " + test::ShellQuote(*file_) + " access");
        for (const jet::Column& c : table.columns) {
            const std::size_t at = schema.find("[" + c.name + "]");
            ASSERT_NE(at, std::string::npos) << c.name << " in " << schema;
            const std::size_t typeAt = schema.find_first_not_of(" \t", at + c.name.size() + 2);
            EXPECT_EQ(schema.substr(typeAt, names.at(c.type).size()), names.at(c.type)) << c.name;
        }
    }
}

// Sixty tables need more than one page of usage maps (two map rows per table, 57 rows a page).
TEST(JetWriter, SixtyTablesAreAllListedAndRead) {
    std::vector<jet::Table> tables;
    std::string expectedList;
    for (int t = 0; t < 60; ++t) {
        tables.push_back(
            {"Tabella" + std::to_string(t), {{"N", ColumnType::Long}, {"Nome", ColumnType::Text}}, {}});
        for (int r = 0; r <= t % 3; ++r)
            tables.back().rows.push_back({t * 10 + r, "Squadra " + std::to_string(r)});
        expectedList += tables.back().name + "\n";
    }
    test::TempDir dir;
    jet::WriteJetDatabase(tables, dir / "molte.mdb");
    EXPECT_EQ(test::OutputOf("mdb-tables -1 " + test::ShellQuote(dir / "molte.mdb")), expectedList);
    EXPECT_EQ(test::OutputOf("mdb-export -H " + test::ShellQuote(dir / "molte.mdb") + " Tabella59"),
              "590,\"Squadra 0\"\n591,\"Squadra 1\"\n592,\"Squadra 2\"\n");
    Database db = Database::Open(dir / "molte.mdb");
    for (const jet::Table& t : tables) {
        std::vector<std::string> expected, read;
        for (const auto& row : t.rows)
            expected.push_back(std::to_string(std::get<std::int32_t>(row[0])) + "|" +
                               std::get<std::string>(row[1]));
        Query q = db.Prepare("SELECT N, Nome FROM " + t.name);
        while (q.Next()) read.push_back(q.Text("N") + "|" + q.Text("Nome"));
        EXPECT_EQ(read, expected) << t.name;
    }
}

// Eight texts of 255 characters in UCS-2 need 4080 bytes, more than a row may take.
jet::Table OverfullRowTable() {
    jet::Table t{"Lega", {}, {{}}};
    for (int c = 0; c < 8; ++c) {
        t.columns.push_back({"Testo" + std::to_string(c), ColumnType::Text});
        t.rows[0].emplace_back(MixedText(255));
    }
    return t;
}

TEST(JetWriter, RefusesWhatJet4CannotHoldNamingTheCell) {
    struct Case {
        const char* what;
        std::vector<jet::Table> tables;
        const char* message;
    };
    const auto one = [](ColumnType type, Value v) {
        return std::vector<jet::Table>{{"Lega", {{"Nome", type}}, {{std::move(v)}}}};
    };
    const std::vector<Case> cases = {
        {"a text over 255 characters", one(ColumnType::Text, MixedText(256)),
         R"(Tabella "Lega", riga 1, colonna "Nome": testo di 256 caratteri)"},
        {"a number in a text column", one(ColumnType::Text, 3),
         R"(riga 1, colonna "Nome": valore di un tipo)"},
        {"a text in a Long column", one(ColumnType::Long, std::string("3")),
         R"(colonna "Nome": valore di un tipo)"},
        {"text that is not UTF-8", one(ColumnType::Text, std::string("\xC3(")), "testo non in UTF-8"},
        {"a row over a page", {OverfullRowTable()}, R"(Tabella "Lega", riga 1: riga di 4)"},
        {"a row with too few values",
         {{"Lega", {{"A", ColumnType::Long}, {"B", ColumnType::Long}}, {{1}}}},
         "1 valori per 2 colonne"},
        {"two tables of one name",
         {{"Lega", {{"A", ColumnType::Long}}, {}}, {"LEGA", {{"A", ColumnType::Long}}, {}}},
         R"("LEGA": tabella ripetuta)"},
        {"two columns of one name",
         {{"Lega", {{"Nome", ColumnType::Long}, {"nome", ColumnType::Text}}, {}}},
         R"(colonna "nome": colonna ripetuta)"},
        {"a system table's name", {{"MSysObjects", {{"A", ColumnType::Long}}, {}}}, "sono di sistema"},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            jet::WriteJetDatabase(c.tables, dir / "rifiutato.mdb");
            ADD_FAILURE() << "written";
        } catch (const std::runtime_error& e) {
            EXPECT_THAT(e.what(), ::testing::HasSubstr(c.message));
        }
        EXPECT_TRUE(fs::is_empty(dir.path())) << "a refused file leaves nothing behind";
    }
}

// The copy takes each column's Access type from its declared SQLite type, and each value to that type.
TEST(SqliteToMdbCopy, DeclaredTypesBecomeAccessTypes) {
    struct Case {
        const char* declared;
        const char* value;  // as SQL
        const char* accessType;
        const char* read;  // through Database::Open; "NULL" for a NULL
    };
    const std::vector<Case> cases = {
        {"INTEGER", "-2147483648", "Long Integer", "-2147483648"},
        {"INT", "2.0", "Long Integer", "2"},
        {"BIGINT", "NULL", "Long Integer", "NULL"},
        {"REAL", "6.25", "Double", "6.25"},
        {"DOUBLE", "7", "Double", "7.0"},
        {"FLOAT", "NULL", "Double", "NULL"},
        {"NUMERIC", "0.5", "Double", "0.5"},
        {"BOOLEAN", "-1", "Boolean", "1"},
        {"YESNO", "0", "Boolean", "0"},
        {"BIT", "NULL", "Boolean", "0"},
        {"TEXT", "'Città'", "Text (255)", "Città"},
        {"VARCHAR(20)", "''", "Text (255)", ""},
        {"", "12", "Text (255)", "12"},
    };
    std::string create = "CREATE TABLE T (", insert = "INSERT INTO T VALUES (";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        create += (i ? ", C" : "C") + std::to_string(i) + " " + cases[i].declared;
        insert += (i ? ", " : "") + std::string(cases[i].value);
    }
    test::TempDir dir;
    test::CreateSqliteFile(dir / "t.sqlite", create + "); " + insert + ");");
    test::WriteMdbCopy(dir / "t.sqlite", dir / "t.mdb");

    const std::string schema = test::OutputOf("mdb-schema " + test::ShellQuote(dir / "t.mdb") + " access");
    Database db = Database::Open(dir / "t.mdb");
    Query q = db.Prepare("SELECT * FROM T");
    ASSERT_TRUE(q.Next());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].declared);
        const std::string column = "[C" + std::to_string(i) + "]";
        const std::size_t at = schema.find(column);
        ASSERT_NE(at, std::string::npos) << schema;
        EXPECT_EQ(schema.substr(schema.find_first_not_of(" \t", at + column.size()),
                                std::string(cases[i].accessType).size()),
                  cases[i].accessType);
        const int index = static_cast<int>(i);
        EXPECT_EQ(q.IsNull(index) ? "NULL" : q.Text(index), cases[i].read);
    }
}

}  // namespace
}  // namespace calvorin
