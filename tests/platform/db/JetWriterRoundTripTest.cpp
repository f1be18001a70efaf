// SPDX-License-Identifier: GPL-3.0-or-later
// A league built in SQLite and its Jet 4 copy (written by the demo tool's Jet writer) answer the
// generator's queries with the same rows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/SharedData.h"
#include "platform/db/SqliteFile.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

constexpr const char* kLeague = R"(
CREATE TABLE Lega (Nome TEXT);
INSERT INTO Lega VALUES ('Fantalega dell''Ètoile');
CREATE TABLE Competizione (ID INTEGER, Nome TEXT, Predefinita BOOLEAN, GiocInPanchinaTotale INTEGER,
  GiocInPanchinaP INTEGER, UsaQuot1 BOOLEAN, UsaQuot2 BOOLEAN, UsaTabellino INTEGER, PAzGolFattoP REAL,
  PAzAmm REAL, PAzPort0Gol REAL);
INSERT INTO Competizione VALUES (1, 'Coppa', 0, 7, 1, 1, 0, 2, 3, -0.5, 1),
  (2, 'Campionato', 1, 9, 2, 1, 1, 1, 3.5, -0.5, 0.1), (3, 'Amichevole', 0, NULL, 1, 0, 0, 0, NULL, 0, 0);
CREATE TABLE Modulo (ID INTEGER, NumDife INTEGER, NumCent INTEGER, NumAtta INTEGER);
INSERT INTO Modulo VALUES (1, 3, 4, 3), (2, 4, 4, 2), (3, 5, 3, 2), (4, 3, 5, 2);
CREATE TABLE ModuloAmmesso (IDModulo INTEGER, IDCompetizione INTEGER);
INSERT INTO ModuloAmmesso VALUES (1, 2), (3, 2), (4, 2), (2, 1);
CREATE TABLE Fantasquadra (ID INTEGER, Nome TEXT, Telef2 TEXT, EMail TEXT, PresGioc BOOLEAN);
INSERT INTO Fantasquadra VALUES (1, 'Atletico Ma Non Troppo', '*segreta', 'pres@example.org', 1),
  (2, 'Real Açaí', '*parola', NULL, 0), (3, 'Динамо', '', 'd@example.org', 0);
CREATE TABLE IncontraInA (IDCasa INTEGER, IDFuori INTEGER, Giornata INTEGER);
INSERT INTO IncontraInA VALUES (1, 2, 1), (3, 4, 1), (2, 3, 2), (4, 1, 2), (1, 3, 3), (2, 4, 3);
CREATE TABLE GiornataDiA (Giornata INTEGER, Giocata BOOLEAN);
INSERT INTO GiornataDiA VALUES (1, 1), (2, 1), (3, 0);
CREATE TABLE GiocatoreA (ID INTEGER, Nome TEXT);
INSERT INTO GiocatoreA VALUES (10, 'Lautaro Martínez'), (11, 'Hakan Çalhanoğlu'), (12, 'D''Ambrosio'),
  (13, 'Zielińsky'), (14, 'Buffon');
CREATE TABLE Tesserato (IDGiocatore INTEGER, IDSquadra INTEGER, Ruolo INTEGER, AnnoDiContratto INTEGER,
  InizioInfortunio INTEGER, Venduto BOOLEAN);
INSERT INTO Tesserato VALUES (10, 1, 4, 2, -1, 0), (11, 1, 3, 101, -1, 0), (12, 2, 2, 1, -1, 0),
  (13, 2, 3, 103, -1, 0), (14, 1, 1, 1, 5, 0), (14, 2, 1, 1, -1, 1);
CREATE TABLE GiocaIn (IDGiocatore INTEGER, IDSquadra INTEGER, Giornata INTEGER, IDPunteggio INTEGER);
INSERT INTO GiocaIn VALUES (10, 1, 1, 100), (10, 1, 2, 101), (10, 1, 3, 102), (11, 1, 2, 103), (11, 1, 3, 104),
  (12, 3, 3, 105), (13, 4, 3, 106), (14, 2, 3, 107);
CREATE TABLE Punteggio (ID INTEGER, Voto1 REAL, Voto2 REAL, GolFatti1 INTEGER, GolVittoria BOOLEAN,
  ValoreSpeciale REAL, Amm BOOLEAN, Esp BOOLEAN);
INSERT INTO Punteggio VALUES (100, 6.5, 7, 1, 1, NULL, 0, 0), (101, -1, -1, 0, 0, 0, 1, 0),
  (102, 0, 0, 0, 0, 0, 0, 0), (103, 5.5, 6, 0, 0, 0.25, 1, 1), (104, 7, 6.5, 2, 0, 0, 0, 0),
  (105, 6, 6, 0, 0, 0, 0, 0), (106, 6, 5.5, 0, 0, 0, 0, 0), (107, 6, 6, 0, 0, 0, 0, 0);
CREATE TABLE Formazione (IDGioc INTEGER, IDSquadra INTEGER, Entrato BOOLEAN);
INSERT INTO Formazione VALUES (11, 1, 1), (11, 1, 0), (11, 1, 1), (13, 2, 1), (13, 1, 1);
)";

// A query with its "?" parameters.
struct Call {
    std::string sql;
    std::vector<std::int64_t> parameters;
};

const char* const kQ8 =
    "SELECT T.IDSquadra, G.ID, T.Ruolo, G.Nome, GI.IDSquadra, (T.AnnoDiContratto > 100) AS Primavera FROM "
    "(GiocatoreA G INNER JOIN Tesserato T ON G.ID = T.IDGiocatore) INNER JOIN GiocaIn GI ON G.ID = "
    "GI.IDGiocatore WHERE ((T.InizioInfortunio = -1) AND (T.Venduto = False) AND (GI.Giornata = (SELECT "
    "Max(Giornata) FROM GiornataDiA))) ORDER BY T.IDSquadra, T.Ruolo, G.Nome";
const char* const kQ9 =
    "SELECT * FROM Punteggio INNER JOIN GiocaIn ON Punteggio.ID = GiocaIn.IDPunteggio WHERE "
    "GiocaIn.IDGiocatore = ?";
const char* const kQ10 =
    "SELECT COUNT(IDGioc) AS PresenzePrimavera FROM Formazione WHERE (IDGioc = ?) AND (IDSquadra = ?) AND "
    "(Entrato = True)";

const std::vector<Call>& Calls() {
    static const std::vector<Call> calls = {
        {"SELECT Nome FROM Lega", {}},
        {"SELECT * FROM Competizione WHERE Predefinita = True", {}},
        {"SELECT NumDife, NumCent, NumAtta FROM Modulo M INNER JOIN ModuloAmmesso MA ON (M.ID = MA.IDModulo) "
         "WHERE MA.IDCompetizione = ?",
         {2}},
        {"SELECT ID, Nome, Telef2, EMail, PresGioc FROM Fantasquadra", {}},
        {"SELECT MAX(IDCasa) AS MaxC, MAX(IDFuori) AS MaxF, MAX(Giornata) AS MaxG FROM IncontraInA", {}},
        {"SELECT IDCasa, IDFuori, Giornata FROM IncontraInA ORDER BY IDCasa, Giornata", {}},
        {"SELECT MAX(Giornata) AS MaxG FROM GiornataDiA WHERE Giocata = True", {}},
        {kQ8, {}},
        {kQ9, {10}},
        {kQ9, {11}},
        {kQ9, {14}},
        {kQ10, {11, 1}},
        {kQ10, {13, 2}},
    };
    return calls;
}

using Rows = std::vector<std::vector<std::string>>;

Rows RunCall(Database& db, const Call& call) {
    Query q = db.Prepare(call.sql);
    for (std::size_t i = 0; i < call.parameters.size(); ++i)
        q.Bind(static_cast<int>(i) + 1, call.parameters[i]);
    Rows rows;
    while (q.Next()) {
        rows.emplace_back();
        for (int i = 0; i < q.ColumnCount(); ++i) rows.back().push_back(q.ColumnName(i) + "=" + q.Text(i));
    }
    return rows;
}

class JetWriterRoundTripTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::CreateSqliteFile(sqlite_, kLeague);
        test::WriteMdbCopy(sqlite_, mdb_);
    }
    test::TempDir dir_;
    std::filesystem::path sqlite_ = dir_ / "Lega-1-2024.sqlite";
    std::filesystem::path mdb_ = dir_ / "Lega-1-2024.mdb";
};

TEST_F(JetWriterRoundTripTest, LeagueQueriesReturnTheSameRowsFromBothFiles) {
    Database fromSqlite = Database::Open(sqlite_);
    Database fromAccess = Database::Open(mdb_);
    ASSERT_FALSE(fromSqlite.IsAccessCopy());
    ASSERT_TRUE(fromAccess.IsAccessCopy());
    for (const Call& call : Calls()) {
        SCOPED_TRACE(call.sql);
        const Rows expected = RunCall(fromSqlite, call);
        EXPECT_FALSE(expected.empty());
        EXPECT_EQ(RunCall(fromAccess, call), expected);
    }
}

TEST_F(JetWriterRoundTripTest, TheCopyReadsWhatTheGeneratorNeeds) {
    Database db = Database::Open(mdb_, {"Competizione", "GiocatoreA", "Tesserato", "GiocaIn", "GiornataDiA"});
    Query competition = db.Prepare("SELECT * FROM Competizione WHERE Predefinita = True");
    ASSERT_TRUE(competition.Next());
    EXPECT_EQ(competition.Text("Nome"), "Campionato");
    EXPECT_EQ(competition.Integer("GiocInPanchinaTotale"), 9);
    EXPECT_DOUBLE_EQ(competition.Float("PAzPort0Gol"), 0.1);
    EXPECT_TRUE(competition.Flag("UsaQuot2"));
    EXPECT_FALSE(competition.Next());

    Query players = db.Prepare(kQ8);
    std::vector<std::string> names;
    while (players.Next()) names.push_back(players.Text("Nome") + (players.Flag("Primavera") ? "*" : ""));
    EXPECT_THAT(names,
                ::testing::ElementsAre("Hakan Çalhanoğlu*", "Lautaro Martínez", "D'Ambrosio", "Zielińsky*"));
    EXPECT_THROW(db.Prepare("SELECT Nome FROM Lega"), std::runtime_error);
}

TEST_F(JetWriterRoundTripTest, AMissingColumnFailsInBothFiles) {
    for (const auto& file : {sqlite_, mdb_}) {
        SCOPED_TRACE(file.string());
        Database db = Database::Open(file);
        try {
            db.Prepare("SELECT ID, Nome, Telef2, EMail, PresGioc, Cellulare FROM Fantasquadra");
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_THAT(e.what(), ::testing::HasSubstr("no such column: Cellulare"));
        }
    }
}

TEST(SqliteToMdbCopy, ValuesThatDoNotFitAreRefusedNamingTheCell) {
    struct Case {
        const char* sql;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"CREATE TABLE T (A INTEGER); INSERT INTO T VALUES (1), (2147483648)",
         R"(Tabella "T", riga 2, colonna "A": "2147483648" non è un intero lungo)"},
        {"CREATE TABLE T (A INTEGER); INSERT INTO T VALUES (1.5)", R"("1.5" non è un intero lungo)"},
        {"CREATE TABLE T (A REAL); INSERT INTO T VALUES ('sei')", R"(colonna "A": "sei" non è un numero)"},
        {"CREATE TABLE T (A BOOLEAN); INSERT INTO T VALUES ('vero')", R"("vero" non è un Sì/No)"},
        {"CREATE TABLE T (A TEXT); INSERT INTO T VALUES (x'00')", "un BLOB"},
        {"CREATE TABLE T (A TEXT); INSERT INTO T VALUES (printf('%.256c', 'x'))", "testo di 256 caratteri"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        test::TempDir dir;
        test::CreateSqliteFile(dir / "t.sqlite", c.sql);
        try {
            test::WriteMdbCopy(dir / "t.sqlite", dir / "t.mdb");
            ADD_FAILURE() << "copied";
        } catch (const std::runtime_error& e) {
            EXPECT_THAT(e.what(), ::testing::HasSubstr(c.message));
        }
        EXPECT_FALSE(std::filesystem::exists(dir / "t.mdb"));
    }
}

}  // namespace
}  // namespace calvorin
