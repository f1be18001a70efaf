// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an SQLite league file: parameters, NULLs, column names, errors, and a file left untouched.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "platform/db/Database.h"
#include "platform/db/SqliteFile.h"
#include "platform/os/PathText.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

using test::CreateSqliteFile;
using test::TempDir;
using ::testing::HasSubstr;

constexpr const char* kLeague = R"(
CREATE TABLE Competizione (ID INTEGER, Nome TEXT, Predefinita BOOLEAN, PAzAmm REAL);
INSERT INTO Competizione VALUES (1, 'Coppa', 0, -0.5), (2, 'Campionato', 1, -0.5), (3, NULL, NULL, NULL);
CREATE TABLE Modulo (ID INTEGER, NumDife INTEGER, NumCent INTEGER, NumAtta INTEGER);
INSERT INTO Modulo VALUES (1, 3, 4, 3), (2, 4, 4, 2), (3, 5, 3, 2);
CREATE TABLE ModuloAmmesso (IDModulo INTEGER, IDCompetizione INTEGER);
INSERT INTO ModuloAmmesso VALUES (1, 2), (3, 2), (2, 1);
)";

class SqliteDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override { CreateSqliteFile(file_, kLeague); }
    TempDir dir_;
    std::filesystem::path file_ = dir_ / "Lega-1-2024.sqlite";
};

std::string Formations(Query& query) {
    std::string out;
    while (query.Next())
        out += std::to_string(query.Integer("NumDife")) + std::to_string(query.Integer("NumCent")) +
               std::to_string(query.Integer("NumAtta")) + " ";
    return out;
}

TEST_F(SqliteDatabaseTest, PositionalParametersSelectRowsAndCanBeBoundAgain) {
    Database db = Database::Open(file_);
    EXPECT_FALSE(db.IsAccessCopy());
    Query q = db.Prepare(
        "SELECT NumDife, NumCent, NumAtta FROM Modulo M INNER JOIN ModuloAmmesso MA ON (M.ID = MA.IDModulo) "
        "WHERE MA.IDCompetizione = ? ORDER BY M.ID");
    q.Bind(1, 2);
    EXPECT_EQ(Formations(q), "343 532 ");
    q.Reset();
    q.Bind(1, 1);
    EXPECT_EQ(Formations(q), "442 ");
    // Binding in the middle of the rows starts the statement over.
    q.Bind(1, 2);
    ASSERT_TRUE(q.Next());
    q.Bind(1, 2);
    EXPECT_EQ(Formations(q), "343 532 ");
    EXPECT_THROW(q.Bind(2, 1), std::runtime_error);
}

TEST_F(SqliteDatabaseTest, DefaultCompetitionQueryFindsTheRowMarkedTrue) {
    Database db = Database::Open(file_);
    Query q = db.Prepare("SELECT * FROM Competizione WHERE Predefinita = True");
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Text("Nome"), "Campionato");
    EXPECT_TRUE(q.Flag("Predefinita"));
    EXPECT_DOUBLE_EQ(q.Float("PAzAmm"), -0.5);
    EXPECT_FALSE(q.Next());
}

TEST_F(SqliteDatabaseTest, NullReadsAsZeroEmptyOrFalse) {
    Database db = Database::Open(file_);
    Query q = db.Prepare(
        "SELECT Nome, Predefinita, PAzAmm, NULL AS Nulla, 0 AS Zero FROM Competizione WHERE ID = 3");
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Text("Nome"), "");
    EXPECT_FALSE(q.Flag("Predefinita"));
    EXPECT_EQ(q.Float("PAzAmm"), 0.0);
    EXPECT_EQ(q.Integer("Nulla"), 0);
    EXPECT_EQ(q.Text("Nulla"), "");
    // Only IsNull tells a NULL from the zero it reads as.
    EXPECT_TRUE(q.IsNull("Nulla"));
    EXPECT_FALSE(q.IsNull("Zero"));
}

TEST_F(SqliteDatabaseTest, ValuesConvertBetweenReadingTypes) {
    Database db = Database::Open(file_);
    Query q = db.Prepare(
        "SELECT 2.75 AS F, -1 AS Vero, 0.5 AS Mezzo, 0 AS Falso, COUNT(*) AS N, 'àè€' AS T FROM Modulo");
    ASSERT_TRUE(q.Next());
    EXPECT_EQ(q.Integer("F"), 2);
    EXPECT_EQ(q.Text("F"), "2.75");
    EXPECT_TRUE(q.Flag("Vero"));
    EXPECT_TRUE(q.Flag("Mezzo"));
    EXPECT_FALSE(q.Flag("Falso"));
    EXPECT_EQ(q.Text("N"), "3");
    EXPECT_EQ(q.Text("T"), "àè€");
}

TEST_F(SqliteDatabaseTest, ColumnNamesMatchWithoutRegardToCase) {
    Database db = Database::Open(file_);
    Query q = db.Prepare(
        "SELECT M.NumDife, MA.IDModulo, MAX(M.ID) AS MaxG, MA.IDCompetizione AS ID FROM Modulo M "
        "INNER JOIN ModuloAmmesso MA ON M.ID = MA.IDModulo");
    ASSERT_TRUE(q.Next());
    ASSERT_EQ(q.ColumnCount(), 4);
    EXPECT_EQ(q.ColumnName(0), "NumDife");
    EXPECT_EQ(q.ColumnIndex("numdife"), 0);
    EXPECT_EQ(q.ColumnIndex("IDMODULO"), 1);
    EXPECT_EQ(q.Integer("maxg"), 3);
    EXPECT_EQ(q.Integer(q.ColumnIndex("Id")), q.Integer(3));
}

TEST_F(SqliteDatabaseTest, UnknownColumnOrMissingRowThrows) {
    Database db = Database::Open(file_);
    Query q = db.Prepare("SELECT ID FROM Modulo WHERE ID = 1");
    EXPECT_THROW(q.Integer("ID"), std::logic_error);
    ASSERT_TRUE(q.Next());
    try {
        q.Text("Nome");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), HasSubstr("\"Nome\""));
    }
    EXPECT_THROW(q.Integer(1), std::out_of_range);
    EXPECT_THROW(q.ColumnName(-1), std::out_of_range);
    EXPECT_FALSE(q.Next());
    EXPECT_THROW(q.Integer(0), std::logic_error);
}

TEST_F(SqliteDatabaseTest, PrepareErrorsCarrySqliteMessage) {
    struct Case {
        const char* sql;
        const char* message;
    };
    const Case cases[] = {
        {"SELECT Nome FROM Lega", "no such table: Lega"},
        {"SELECT Telef2 FROM Modulo", "no such column: Telef2"},
        {"SELEC 1", "syntax error"},
        {"SELECT 1; SELECT 2", "più di un'istruzione"},
        {"  ", "nessuna istruzione"},
    };
    Database db = Database::Open(file_);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        try {
            db.Prepare(c.sql);
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.message));
        }
    }
    EXPECT_NO_THROW(db.Prepare("SELECT 1 ; "));
}

TEST_F(SqliteDatabaseTest, ChangesAreRefusedOnTheLeagueFile) {
    Database db = Database::Open(file_);
    try {
        db.Prepare("CREATE INDEX IxModulo ON Modulo (ID)").Next();
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), HasSubstr("readonly"));
    }
    EXPECT_THROW(db.Prepare("DELETE FROM Modulo").Next(), std::runtime_error);
}

std::filesystem::file_time_type MTime(const std::filesystem::path& file) {
    return std::filesystem::last_write_time(file);
}

// The files in the folder of `file` other than it and, in WAL mode, its WAL and shared-memory files.
std::vector<std::filesystem::path> OtherFiles(const std::filesystem::path& file) {
    std::vector<std::filesystem::path> others;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
        if (entry.path() != file && entry.path().string() != file.string() + "-wal" &&
            entry.path().string() != file.string() + "-shm")
            others.push_back(entry.path());
    return others;
}

void ExpectUntouched(const std::filesystem::path& file, std::string_view journalMode) {
    CreateSqliteFile(file, std::string("PRAGMA journal_mode=") + std::string(journalMode) + ";" + kLeague);
    std::filesystem::last_write_time(file, MTime(file) - std::chrono::hours(1));
    const std::string bytes = test::ReadBytes(file);
    const auto mtime = MTime(file);
    {
        Database db = Database::Open(file);
        Query q = db.Prepare("SELECT COUNT(*) AS N FROM Modulo");
        ASSERT_TRUE(q.Next());
        EXPECT_EQ(q.Integer("N"), 3);
        EXPECT_EQ(OtherFiles(file), std::vector<std::filesystem::path>{}) << "no journal while open";
    }
    EXPECT_EQ(test::ReadBytes(file), bytes);
    EXPECT_EQ(MTime(file), mtime);
    EXPECT_EQ(OtherFiles(file), std::vector<std::filesystem::path>{});
    if (journalMode != "WAL") {
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()), {}), 1);
    }
}

TEST(SqliteDatabaseFileTest, OpeningAndQueryingLeavesTheFileUntouched) {
    for (const char* mode : {"DELETE", "WAL"}) {
        SCOPED_TRACE(mode);
        TempDir dir;
        ExpectUntouched(dir / "Lega.db", mode);
    }
}

// A writer in WAL mode whose last commit is still only in the WAL file, as when FCM or a tool keeps the
// league open, or crashed before a checkpoint.
class PendingWalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CreateSqliteFile(file_, std::string("PRAGMA journal_mode=WAL;") + kLeague);
        ASSERT_EQ(sqlite3_open(PathText(file_).c_str(), &writer_), SQLITE_OK);
        Exec("PRAGMA wal_autocheckpoint=0; UPDATE Modulo SET NumDife = 5 WHERE ID = 1");
        ASSERT_GT(std::filesystem::file_size(PathText(file_) + "-wal"), 0u);
    }
    void TearDown() override { sqlite3_close(writer_); }
    void Exec(const char* sql) {
        ASSERT_EQ(sqlite3_exec(writer_, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    }

    static std::int64_t NumDife(const std::filesystem::path& file) {
        Database db = Database::Open(file);
        Query q = db.Prepare("SELECT NumDife FROM Modulo WHERE ID = 1");
        return q.Next() ? q.Integer("NumDife") : -1;
    }

    TempDir dir_;
    std::filesystem::path file_ = dir_ / "Lega.db";
    sqlite3* writer_ = nullptr;
};

TEST_F(PendingWalTest, ChangesCommittedByAnOpenWriterAreRead) {
    const std::string bytes = test::ReadBytes(file_);
    EXPECT_EQ(NumDife(file_), 5);
    EXPECT_EQ(test::ReadBytes(file_), bytes);
    Exec("UPDATE Modulo SET NumDife = 4 WHERE ID = 1");  // the writer goes on undisturbed
    EXPECT_EQ(NumDife(file_), 4);
}

TEST_F(PendingWalTest, ChangesLeftByAWriterThatCrashedAreRead) {
    // The league and its WAL file as a crash leaves them: no checkpoint, nobody holding them open.
    TempDir crashed;
    const std::filesystem::path copy = crashed / "Lega.db";
    std::filesystem::copy_file(file_, copy);
    std::filesystem::copy_file(PathText(file_) + "-wal", copy.string() + "-wal");
    const std::string bytes = test::ReadBytes(copy), wal = test::ReadBytes(copy.string() + "-wal");
    EXPECT_EQ(NumDife(copy), 5);
    EXPECT_EQ(test::ReadBytes(copy), bytes) << "closing a reader does not checkpoint into the league";
    EXPECT_EQ(test::ReadBytes(copy.string() + "-wal"), wal);
}

TEST(SqliteDatabaseFileTest, PathsWithUriCharactersOpen) {
    TempDir dir;
    std::vector<std::string> names = {"Lega #%&=;+à-1-2024.mdb"};
    // Windows allows no "?" in a name; elsewhere it would start the URI's query.
    if (!SystemTakesWindowsPaths()) names.emplace_back("Lega ?x=1-1-2024.mdb");
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const auto file = dir / name;
        CreateSqliteFile(file, kLeague);
        Database db = Database::Open(file);
        EXPECT_TRUE(db.Prepare("SELECT * FROM Modulo").Next());
    }
}

TEST(SqliteDatabaseFileTest, BadFilesFailWithTheirReason) {
    TempDir dir;
    test::WriteBytes(dir / "garbage.db", std::string(4096, 'x'));
    CreateSqliteFile(dir / "whole.db", kLeague);
    test::WriteBytes(dir / "truncated.db", test::ReadBytes(dir / "whole.db").substr(0, 100));
    test::WriteBytes(dir / "empty.db", "");
    std::filesystem::create_directory(dir / "folder.db");
    struct Case {
        const char* name;
        const char* reason;
    };
    const Case cases[] = {
        {"missing.db", "il file non esiste"},
        {"garbage.db", "non è un database"},
        {"empty.db", "non è un database"},
        {"folder.db", "non è un file"},
        {"truncated.db", "database disk image is malformed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            Database::Open(dir / c.name);
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_THAT(e.what(),
                        HasSubstr("Impossibile aprire il database \"" + (dir / c.name).string() + "\": "));
            EXPECT_THAT(e.what(), HasSubstr(c.reason));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.db"));
}

}  // namespace
}  // namespace calvorin
