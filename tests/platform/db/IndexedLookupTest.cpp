// SPDX-License-Identifier: GPL-3.0-or-later
// Lookups indexed for a run on an SQLite file that lacks the index: copies in TEMP, the file untouched.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/SqliteFile.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

using test::CreateSqliteFile;
using test::ReadBytes;
using test::TempDir;

// Values of several storage classes, a NULL, and a text that a NOCASE collation matches; not in ID order.
constexpr const char* kRows = R"(
INSERT INTO Punteggio (ID, Voto1, Nota) VALUES (3, 6.5, 'Tre'), (1, 7, 'uno'), (2, NULL, 'Due'), (4, 5.5, 'x');
)";

struct SchemaCase {
    const char* name;
    const char* schema;
    bool copied;
};

const SchemaCase kSchemas[] = {
    {"no index", "CREATE TABLE Punteggio (ID INTEGER, Voto1 REAL, Nota TEXT COLLATE NOCASE)", true},
    {"INTEGER PRIMARY KEY", "CREATE TABLE Punteggio (ID INTEGER PRIMARY KEY, Voto1 REAL, Nota TEXT)", false},
    {"index led by the column",
     "CREATE TABLE Punteggio (ID INTEGER, Voto1 REAL, Nota TEXT); CREATE INDEX P ON Punteggio (id, Voto1)",
     false},
    {"UNIQUE column", "CREATE TABLE Punteggio (ID INT UNIQUE, Voto1 REAL, Nota TEXT)", false},
    {"index led by another column",
     "CREATE TABLE Punteggio (ID INTEGER, Voto1 REAL, Nota TEXT COLLATE NOCASE); "
     "CREATE INDEX P ON Punteggio (Voto1, ID)",
     true},
    {"partial index",
     "CREATE TABLE Punteggio (ID INTEGER, Voto1 REAL, Nota TEXT COLLATE NOCASE); "
     "CREATE INDEX P ON Punteggio (ID) WHERE Voto1 > 6",
     true},
    {"key of two columns",
     "CREATE TABLE Punteggio (ID INTEGER, Voto1 REAL, Nota TEXT COLLATE NOCASE, "
     "PRIMARY KEY (Voto1, ID))",
     true},
    {"generated column",
     "CREATE TABLE Punteggio (ID NUMERIC, Voto1 BOOLEAN, Nota TEXT COLLATE NOCASE, "
     "Doppio REAL GENERATED ALWAYS AS (Voto1 * 2))",
     true},
};

std::vector<std::string> Column(Query query) {
    std::vector<std::string> out;
    while (query.Next()) out.push_back(query.Text(0));
    return out;
}

std::vector<std::string> Contents(Database& db, const std::string& table) {
    return Column(
        db.Prepare("SELECT quote(ID) || ' ' || typeof(Voto1) || ' ' || quote(Voto1) || ' ' || Nota "
                   "FROM " +
                   table + " ORDER BY rowid"));
}

std::vector<std::string> Plan(Database& db, const std::string& sql) {
    Query q = db.Prepare("EXPLAIN QUERY PLAN " + sql);
    std::vector<std::string> out;
    while (q.Next()) out.push_back(q.Text("detail"));
    return out;
}

// True when the plan reads every table through an index of its own, none built for the statement alone.
bool UsesIndex(const std::vector<std::string>& plan) {
    int tables = 0;
    for (const std::string& step : plan) {
        if (!step.starts_with("SCAN ") && !step.starts_with("SEARCH ")) continue;
        ++tables;
        if (step.find(" USING ") == std::string::npos || step.find("AUTOMATIC") != std::string::npos)
            return false;
    }
    return tables > 0;
}

class IndexedLookupTest : public testing::Test {
  protected:
    TempDir dir_;
    std::filesystem::path file_ = dir_ / "Lega.db";
    const std::vector<IndexedLookup> lookups_ = {{"Punteggio", {"ID", "Voto1"}}};
};

TEST_F(IndexedLookupTest, OnlyATableWithoutAnIndexLedByTheColumnIsCopiedAndReadsTheSame) {
    for (const SchemaCase& c : kSchemas) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(file_);
        CreateSqliteFile(file_, std::string(c.schema) + ";" + kRows);
        const std::string before = ReadBytes(file_);
        Database db = Database::Open(file_);
        const std::vector<std::string> original = Contents(db, "main.Punteggio");
        const std::vector<std::string> mainTypes =
            Column(db.Prepare("SELECT name || ' ' || type FROM pragma_table_xinfo('Punteggio', 'main')"));

        db.IndexLookups(lookups_);

        EXPECT_EQ(Column(db.Prepare("SELECT name FROM temp.sqlite_master WHERE type = 'table'")).size(),
                  c.copied ? 1U : 0U);
        EXPECT_EQ(Contents(db, "Punteggio"), original);
        EXPECT_TRUE(UsesIndex(Plan(db, "SELECT Voto1 FROM Punteggio WHERE ID = 2")));
        // The same declared types, so the same affinities and the same names in every result.
        EXPECT_EQ(Column(db.Prepare("SELECT name || ' ' || type FROM pragma_table_xinfo('Punteggio')")),
                  mainTypes);
        // The same collation: the copy of a NOCASE column still matches without regard to case.
        EXPECT_EQ(Column(db.Prepare("SELECT Nota FROM Punteggio WHERE Nota = 'DUE' AND ID = 2")),
                  Column(db.Prepare("SELECT Nota FROM main.Punteggio WHERE Nota = 'DUE' AND ID = 2")));
        // Asking again keeps the copy and makes no second one.
        db.IndexLookups(lookups_);
        EXPECT_EQ(Contents(db, "Punteggio"), original);
        EXPECT_EQ(ReadBytes(file_), before);
    }
}

TEST_F(IndexedLookupTest, MissingTablesAndColumnsAreLeftForTheQueriesToReport) {
    CreateSqliteFile(file_, std::string(kSchemas[0].schema) + ";" + kRows);
    Database db = Database::Open(file_);
    db.IndexLookups({{"Assente", {"ID"}}, {"Punteggio", {"ID", "Assente"}}, {"Punteggio", {}}});
    EXPECT_TRUE(Column(db.Prepare("SELECT name FROM temp.sqlite_master")).empty());
    EXPECT_THROW(db.Prepare("SELECT * FROM Assente"), std::runtime_error);
}

TEST_F(IndexedLookupTest, NamesMatchWithoutRegardToCase) {
    CreateSqliteFile(file_, std::string(kSchemas[0].schema) + ";" + kRows);
    Database db = Database::Open(file_);
    db.IndexLookups({{"PUNTEGGIO", {"id"}}});
    EXPECT_EQ(Column(db.Prepare("SELECT name FROM temp.sqlite_master WHERE type = 'table'")),
              std::vector<std::string>{"Punteggio"});
    EXPECT_TRUE(UsesIndex(Plan(db, "SELECT Voto1 FROM Punteggio WHERE ID = 2")));
}

// Both copies come from one read of the file, and the statements prepared before keep working.
TEST_F(IndexedLookupTest, TwoTablesJoinThroughTheirCopies) {
    CreateSqliteFile(file_, std::string(kSchemas[0].schema) + ";" + kRows +
                                "CREATE TABLE GiocaIn (IDGiocatore INTEGER, IDPunteggio INTEGER);"
                                "INSERT INTO GiocaIn VALUES (10, 1), (11, 2), (10, 3);");
    const std::string before = ReadBytes(file_);
    Database db = Database::Open(file_);
    Query earlier = db.Prepare("SELECT count(*) FROM GiocaIn");
    db.IndexLookups({{"GiocaIn", {"IDGiocatore", "IDPunteggio"}}, {"Punteggio", {"ID"}}});
    const std::string join =
        "SELECT P.ID FROM Punteggio P JOIN GiocaIn G ON P.ID = G.IDPunteggio WHERE G.IDGiocatore = 10 ORDER BY 1";
    EXPECT_EQ(Column(db.Prepare(join)), (std::vector<std::string>{"1", "3"}));
    EXPECT_TRUE(UsesIndex(Plan(db, join)));
    ASSERT_TRUE(earlier.Next());
    EXPECT_EQ(earlier.Integer(0), 3);
    EXPECT_EQ(ReadBytes(file_), before);
}

}  // namespace
}  // namespace calvorin
