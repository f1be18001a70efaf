// SPDX-License-Identifier: GPL-3.0-or-later
// League values that size or index anything: out of bounds they end the phase with KO and replace no file.
#include <gtest/gtest.h>

#include <string>

#include "GeneratorTestSupport.h"
#include "platform/fs/Files.h"
#include "tools/demo/LeagueSchema.h"

namespace calvorin::test {
namespace {

constexpr const char* kSettings = "  - Lettura impostazioni della competizione predefinita";
constexpr const char* kFormations = "  - Lettura moduli ammessi";
constexpr const char* kTeams = "  - Lettura dati fantasquadre";
constexpr const char* kFixtureSize = "  - Lettura calendario di Serie A (parte I)";
constexpr const char* kFixtures = "  - Lettura calendario di Serie A (parte II)";
constexpr const char* kLastPlayed = "  - Lettura ultima giornata di A giocata";
constexpr const char* kPlayers = "  - Lettura dati giocatori";

struct HostileCase {
    const char* sql;      // run on the small league once it is written
    const char* phase;    // the heading the KO line follows
    const char* message;  // after "KO: "
};

// Moves player 10 to another ID in every table that names him, so that he stays rostered.
std::string RenumberPlayer10(const std::string& id) {
    return "UPDATE GiocatoreA SET ID = " + id + " WHERE ID = 10; UPDATE Tesserato SET IDGiocatore = " + id +
           " WHERE IDGiocatore = 10; UPDATE GiocaIn SET IDGiocatore = " + id + " WHERE IDGiocatore = 10";
}

const std::string kPlayerHuge = RenumberPlayer10("4611686018427387904");
const std::string kPlayerNegative = RenumberPlayer10("-7");

const HostileCase kCases[] = {
    // A password longer than FCM stores: refused before it is hashed, naming the team.
    {"UPDATE Fantasquadra SET Telef2 = substr(hex(zeroblob(200000)), 1, 200000) || '[noex]' WHERE ID = 2",
     kTeams, "La password della fantasquadra \"Bar Sport\" supera i 255 caratteri che FCM può memorizzare"},
    {"UPDATE Fantasquadra SET Telef2 = substr(hex(zeroblob(128)), 1, 256) || '[noex]' WHERE ID = 2", kTeams,
     "La password della fantasquadra \"Bar Sport\" supera i 255 caratteri che FCM può memorizzare"},
    // Fixture sizes: the matrix is clubs x matchdays, so the largest values fail before it is made.
    {"UPDATE IncontraInA SET IDCasa = 4611686018427387904 WHERE IDCasa = 1", kFixtureSize,
     "Valore non valido nella tabella IncontraInA, colonna IDCasa: 4611686018427387904"},
    {"UPDATE IncontraInA SET IDCasa = 3000000 WHERE IDCasa = 1", kFixtureSize,
     "Valore non valido nella tabella IncontraInA, colonna IDCasa: 3000000"},
    {"UPDATE IncontraInA SET IDCasa = 100 WHERE IDCasa = 1", kFixtureSize,
     "Valore non valido nella tabella IncontraInA, colonna IDCasa: 100"},
    {"UPDATE IncontraInA SET IDCasa = 1e300 WHERE IDCasa = 1", kFixtureSize,
     "Valore non valido nella tabella IncontraInA, colonna IDCasa: 9223372036854775807"},
    {"UPDATE IncontraInA SET IDFuori = 9223372036854775807 WHERE IDFuori = 2", kFixtureSize,
     "Valore non valido nella tabella IncontraInA, colonna IDFuori: 9223372036854775807"},
    {"UPDATE IncontraInA SET Giornata = 39 WHERE Giornata = 2", kFixtureSize,
     "Valore non valido nella tabella IncontraInA, colonna Giornata: 39"},
    {"UPDATE IncontraInA SET Giornata = 4611686018427387904 WHERE Giornata = 2", kFixtureSize,
     "Valore non valido nella tabella IncontraInA, colonna Giornata: 4611686018427387904"},
    // Fixture rows: each one indexes the matrix.
    {"UPDATE IncontraInA SET IDCasa = -5 WHERE IDCasa = 1", kFixtures,
     "Valore non valido nella tabella IncontraInA, colonna IDCasa: -5"},
    {"UPDATE IncontraInA SET IDCasa = 0 WHERE IDCasa = 1", kFixtures,
     "Valore non valido nella tabella IncontraInA, colonna IDCasa: 0"},
    {"UPDATE IncontraInA SET IDCasa = NULL WHERE IDCasa = 1", kFixtures,
     "Valore non valido nella tabella IncontraInA, colonna IDCasa: NULL"},
    {"UPDATE IncontraInA SET IDFuori = -9223372036854775808 WHERE IDFuori = 2", kFixtures,
     "Valore non valido nella tabella IncontraInA, colonna IDFuori: -9223372036854775808"},
    {"UPDATE IncontraInA SET IDFuori = NULL WHERE IDFuori = 2", kFixtures,
     "Valore non valido nella tabella IncontraInA, colonna IDFuori: NULL"},
    {"UPDATE IncontraInA SET Giornata = 0 WHERE Giornata = 2", kFixtures,
     "Valore non valido nella tabella IncontraInA, colonna Giornata: 0"},
    {"UPDATE IncontraInA SET Giornata = -1 WHERE Giornata = 2", kFixtures,
     "Valore non valido nella tabella IncontraInA, colonna Giornata: -1"},
    {"UPDATE IncontraInA SET Giornata = NULL WHERE Giornata = 2", kFixtures,
     "Valore non valido nella tabella IncontraInA, colonna Giornata: NULL"},
    // The last played matchday.
    {"UPDATE GiornataDiA SET Giornata = 4611686018427387904 WHERE Giornata = 1", kLastPlayed,
     "Valore non valido nella tabella GiornataDiA, colonna Giornata: 4611686018427387904"},
    {"UPDATE GiornataDiA SET Giornata = 39 WHERE Giornata = 1", kLastPlayed,
     "Valore non valido nella tabella GiornataDiA, colonna Giornata: 39"},
    {"UPDATE GiornataDiA SET Giornata = -1 WHERE Giornata = 1", kLastPlayed,
     "Valore non valido nella tabella GiornataDiA, colonna Giornata: -1"},
    // Bench sizes, which the page loops over.
    {"UPDATE Competizione SET GiocInPanchinaTotale = 4611686018427387904 WHERE ID = 1", kSettings,
     "Valore non valido nella tabella Competizione, colonna GiocInPanchinaTotale: 4611686018427387904"},
    {"UPDATE Competizione SET GiocInPanchinaTotale = -1 WHERE ID = 1", kSettings,
     "Valore non valido nella tabella Competizione, colonna GiocInPanchinaTotale: -1"},
    {"UPDATE Competizione SET GiocInPanchinaP = 100 WHERE ID = 1", kSettings,
     "Valore non valido nella tabella Competizione, colonna GiocInPanchinaP: 100"},
    {"UPDATE Competizione SET GiocInPanchinaD = -2 WHERE ID = 1", kSettings,
     "Valore non valido nella tabella Competizione, colonna GiocInPanchinaD: -2"},
    {"UPDATE Competizione SET GiocInPanchinaC = 3000000 WHERE ID = 1", kSettings,
     "Valore non valido nella tabella Competizione, colonna GiocInPanchinaC: 3000000"},
    {"UPDATE Competizione SET GiocInPanchinaA = -9223372036854775808 WHERE ID = 1", kSettings,
     "Valore non valido nella tabella Competizione, colonna GiocInPanchinaA: -9223372036854775808"},
    // Formations: players per role.
    {"UPDATE Modulo SET NumDife = 11 WHERE ID = 1", kFormations,
     "Valore non valido nella tabella Modulo, colonna NumDife: 11"},
    {"UPDATE Modulo SET NumCent = 4611686018427387904 WHERE ID = 1", kFormations,
     "Valore non valido nella tabella Modulo, colonna NumCent: 4611686018427387904"},
    {"UPDATE Modulo SET NumAtta = -1 WHERE ID = 2", kFormations,
     "Valore non valido nella tabella Modulo, colonna NumAtta: -1"},
    // Team IDs, which key the passwords and the president.
    {"UPDATE Fantasquadra SET ID = 0 WHERE ID = 2", kTeams,
     "Valore non valido nella tabella Fantasquadra, colonna ID: 0"},
    {"UPDATE Fantasquadra SET ID = -1 WHERE ID = 2", kTeams,
     "Valore non valido nella tabella Fantasquadra, colonna ID: -1"},
    // A copied Access table has no primary key to keep its IDs from being NULL.
    {"CREATE TABLE Copia AS SELECT * FROM Fantasquadra; DROP TABLE Fantasquadra; "
     "ALTER TABLE Copia RENAME TO Fantasquadra; UPDATE Fantasquadra SET ID = NULL WHERE ID = 2",
     kTeams, "Valore non valido nella tabella Fantasquadra, colonna ID: NULL"},
    {"UPDATE Fantasquadra SET ID = 2147483648 WHERE ID = 2", kTeams,
     "Valore non valido nella tabella Fantasquadra, colonna ID: 2147483648"},
    // Player rows: fantasy team, player, role and Serie A club.
    {"UPDATE Tesserato SET IDSquadra = 0 WHERE IDGiocatore = 10", kPlayers,
     "Valore non valido nella tabella Tesserato, colonna IDSquadra: 0"},
    {"UPDATE Tesserato SET IDSquadra = NULL WHERE IDGiocatore = 10", kPlayers,
     "Valore non valido nella tabella Tesserato, colonna IDSquadra: NULL"},
    {"UPDATE Tesserato SET IDSquadra = 4611686018427387904 WHERE IDGiocatore = 10", kPlayers,
     "Valore non valido nella tabella Tesserato, colonna IDSquadra: 4611686018427387904"},
    {kPlayerHuge.c_str(), kPlayers,
     "Valore non valido nella tabella GiocatoreA, colonna ID: 4611686018427387904"},
    {kPlayerNegative.c_str(), kPlayers, "Valore non valido nella tabella GiocatoreA, colonna ID: -7"},
    {"UPDATE Tesserato SET Ruolo = 0 WHERE IDGiocatore = 11", kPlayers,
     "Valore non valido nella tabella Tesserato, colonna Ruolo: 0"},
    {"UPDATE Tesserato SET Ruolo = 5 WHERE IDGiocatore = 11", kPlayers,
     "Valore non valido nella tabella Tesserato, colonna Ruolo: 5"},
    {"UPDATE Tesserato SET Ruolo = NULL WHERE IDGiocatore = 11", kPlayers,
     "Valore non valido nella tabella Tesserato, colonna Ruolo: NULL"},
    {"UPDATE Tesserato SET Ruolo = 4611686018427387904 WHERE IDGiocatore = 11", kPlayers,
     "Valore non valido nella tabella Tesserato, colonna Ruolo: 4611686018427387904"},
    {"UPDATE GiocaIn SET IDSquadra = 100 WHERE IDGiocatore = 12 AND Giornata = 2", kPlayers,
     "Valore non valido nella tabella GiocaIn, colonna IDSquadra: 100"},
    {"UPDATE GiocaIn SET IDSquadra = -1 WHERE IDGiocatore = 12 AND Giornata = 2", kPlayers,
     "Valore non valido nella tabella GiocaIn, colonna IDSquadra: -1"},
    {"UPDATE GiocaIn SET IDSquadra = 4611686018427387904 WHERE IDGiocatore = 12 AND Giornata = 2", kPlayers,
     "Valore non valido nella tabella GiocaIn, colonna IDSquadra: 4611686018427387904"},
};

TEST(HostileLeagueValues, EndThePhaseWithKoNamingTableColumnAndValueAndReplaceNoFile) {
    for (const HostileCase& c : kCases) {
        SCOPED_TRACE(c.sql);
        LeagueEnvironment env;
        env.WriteLeague(SmallLeague());
        ASSERT_NO_THROW(demo::ExecuteOnLeagueFile(env.LeagueFile(), c.sql));
        WriteBytes(env.JsFile(), "old js");
        WriteBytes(env.PhpFile(), "old php");
        LineupOptions options;
        options.scriptServer = "invform/invform.php";
        MemoryLogSink sink;
        Log log(sink);

        EXPECT_FALSE(GeneraDatiInvioFormazione(options, env.Context(), log));

        EXPECT_TRUE(sink.Text().ends_with(std::string(c.phase) + "\n    KO: " + c.message + "\n"))
            << sink.Text();
        EXPECT_EQ(ReadBytes(env.JsFile()), "old js");
        EXPECT_EQ(ReadBytes(env.PhpFile()), "old php");
    }
}

// The largest values the files can hold still make a league: club 99 in matchday 38, a full bench.
TEST(HostileLeagueValues, ValuesAtTheBoundsAreAccepted) {
    LeagueEnvironment env;
    env.WriteLeague(SmallLeague());
    demo::ExecuteOnLeagueFile(
        env.LeagueFile(),
        "INSERT INTO IncontraInA VALUES (99, 1, 38); "
        "UPDATE Competizione SET GiocInPanchinaTotale = 99, GiocInPanchinaA = 99 WHERE ID = 1; "
        "UPDATE Modulo SET NumDife = 10, NumCent = 0 WHERE ID = 1; "
        "UPDATE GiocaIn SET IDSquadra = 99 WHERE IDGiocatore = 12 AND Giornata = 2; "
        "UPDATE GiocaIn SET IDSquadra = 0 WHERE IDGiocatore = 13 AND Giornata = 2; "
        "UPDATE Fantasquadra SET ID = 2147483647 WHERE ID = 2; "
        "UPDATE Fantasquadra SET Telef2 = substr(hex(zeroblob(128)), 1, 255) || '[noex]' WHERE ID = 1");
    LineupOptions options;
    options.scriptServer = "invform/invform.php";
    MemoryLogSink sink;
    Log log(sink);

    ASSERT_TRUE(GeneraDatiInvioFormazione(options, env.Context(), log)) << sink.Text();

    const std::string js = ReadBytes(env.JsFile());
    EXPECT_NE(js.find("var totaleNumeroMassimoRiserve=99;\r\nvar numeroMassimoRiserve=[0,1,2,2,99];"),
              std::string::npos);
    EXPECT_NE(js.find("a[0]=[0,1,10,0,3];"), std::string::npos);
    std::string zeros;
    for (int day = 3; day <= 37; ++day) zeros += ",0";
    EXPECT_NE(js.find("\r\na[1]=[0,2,104" + zeros + ",199];\r\n"), std::string::npos);
    EXPECT_NE(js.find("\r\na[99]=[0,0,0" + zeros + ",1];\r\n\r\nvar arrInvioFormazione"), std::string::npos);
    EXPECT_NE(js.find("new ifG(2,12,3,99,"), std::string::npos);
    EXPECT_NE(js.find("new ifG(2,13,4,0,"), std::string::npos);
    EXPECT_NE(ReadBytes(env.PhpFile()).find("\t2147483647 => '$5$"), std::string::npos);
}

}  // namespace
}  // namespace calvorin::test
