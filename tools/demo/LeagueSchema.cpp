// SPDX-License-Identifier: GPL-3.0-or-later
// FCM's league tables: the schema in SQLite, and writing a whole league into a new SQLite or Access file.
#include "tools/demo/LeagueSchema.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <variant>

#include "lineup/LeagueQueries.h"
#include "platform/db/SqliteConnection.h"
#include "platform/os/PathText.h"
#include "tools/demo/SqliteToMdb.h"

namespace calvorin::demo {

namespace {

using Value = std::variant<std::int64_t, double, std::string>;
using Values = std::vector<Value>;

[[noreturn]] void Fail(sqlite3* db, std::string_view what) {
    throw std::runtime_error(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

SqlitePtr OpenForWriting(const std::filesystem::path& file, int flags) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(PathText(file).c_str(), &raw, flags, nullptr);
    SqlitePtr db(raw);
    if (rc != SQLITE_OK) Fail(raw, "Apertura di " + PathText(file));
    return db;
}

void Execute(sqlite3* db, std::string_view sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, std::string(sql).c_str(), nullptr, nullptr, &error) == SQLITE_OK) return;
    const std::string message = error ? error : "errore";
    sqlite3_free(error);
    throw std::runtime_error(message);
}

void BindValue(sqlite3* db, sqlite3_stmt* s, int position, const Value& v) {
    int rc = SQLITE_OK;
    if (const auto* i = std::get_if<std::int64_t>(&v)) rc = sqlite3_bind_int64(s, position, *i);
    if (const auto* d = std::get_if<double>(&v)) rc = sqlite3_bind_double(s, position, *d);
    if (const auto* t = std::get_if<std::string>(&v))
        rc = sqlite3_bind_text(s, position, t->data(), static_cast<int>(t->size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) Fail(db, "Parametro");
}

// Inserts every row of one table through one prepared statement.
template <typename Row, typename ToValues>
void InsertAll(sqlite3* db, std::string_view table, std::size_t columns, const std::vector<Row>& rows,
               ToValues toValues) {
    std::string sql = "INSERT INTO " + std::string(table) + " VALUES (";
    for (std::size_t i = 0; i < columns; ++i) sql += i ? ",?" : "?";
    sql += ")";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) Fail(db, sql);
    StatementPtr statement(raw);
    for (const Row& row : rows) {
        const Values values = toValues(row);
        if (values.size() != columns) throw std::logic_error(sql + ": numero di valori errato");
        for (std::size_t i = 0; i < values.size(); ++i)
            BindValue(db, raw, static_cast<int>(i + 1), values[i]);
        if (sqlite3_step(raw) != SQLITE_DONE) Fail(db, sql);
        sqlite3_reset(raw);
    }
}

std::int64_t B(bool flag) {
    return flag ? 1 : 0;
}

Values CompetizioneValues(const CompetizioneRow& c) {
    Values v{c.id, c.nome, B(c.predefinita), c.giocInPanchinaTotale};
    for (auto n : c.giocInPanchina) v.emplace_back(n);
    for (bool u : c.usaQuot) v.emplace_back(B(u));
    v.insert(v.end(), {c.usaTabellino, c.risVoti2VSV, c.risVoti3VVSV, c.risVoti3VSVSV});
    for (double p : c.pAzGolFatto) v.emplace_back(p);
    for (double p : c.pAzGolFattoRig) v.emplace_back(p);
    v.insert(v.end(), {c.pAzGolPareggio, c.pAzGolVittoria, c.pAzGolSubito, c.pAzGolSubitoRigore, c.pAzAutogol,
                       c.pAzAssist, c.pAzRigSba, c.pAzRigPar, c.pAzAmm, c.pAzEsp, c.pAzPort0Gol});
    return v;
}

Values PunteggioValues(const PunteggioRow& p) {
    Values v{p.id};
    for (double x : p.voto) v.emplace_back(x);
    for (auto n : p.golFatti) v.emplace_back(n);
    for (auto n : p.golFattiSuRigore) v.emplace_back(n);
    for (auto n : p.autogol) v.emplace_back(n);
    v.insert(v.end(), {B(p.golVittoria), B(p.golPareggio), p.valoreSpeciale, p.rigSba, p.rigPar, p.golSubiti,
                       p.golSubitiSuRigore, p.assist, B(p.amm), B(p.esp)});
    return v;
}

std::string Columns(std::string_view prefix, std::string_view type,
                    std::initializer_list<std::string_view> suffixes) {
    std::string out;
    for (std::string_view s : suffixes)
        out += ", " + std::string(prefix) + std::string(s) + " " + std::string(type);
    return out;
}

std::string CompetizioneSql() {
    return "CREATE TABLE Competizione (ID INTEGER PRIMARY KEY, Nome TEXT, Predefinita BOOLEAN, "
           "GiocInPanchinaTotale INTEGER" +
           Columns("GiocInPanchina", "INTEGER", {"P", "D", "C", "A"}) +
           Columns("UsaQuot", "BOOLEAN", {"1", "2", "3"}) +
           ", UsaTabellino INTEGER, RisVoti2VSV INTEGER, RisVoti3VVSV INTEGER, RisVoti3VSVSV INTEGER" +
           Columns("PAzGolFatto", "REAL", {"P", "D", "C", "A", "RigP", "RigD", "RigC", "RigA"}) +
           Columns("PAz", "REAL",
                   {"GolPareggio", "GolVittoria", "GolSubito", "GolSubitoRigore", "Autogol", "Assist",
                    "RigSba", "RigPar", "Amm", "Esp", "Port0Gol"}) +
           ")";
}

std::string PunteggioSql() {
    return "CREATE TABLE Punteggio (ID INTEGER PRIMARY KEY" + Columns("Voto", "REAL", {"1", "2", "3"}) +
           Columns("GolFatti", "INTEGER", {"1", "2", "3"}) +
           Columns("GolFattiSuRigore", "INTEGER", {"1", "2", "3"}) +
           Columns("Autogol", "INTEGER", {"1", "2", "3"}) +
           ", GolVittoria BOOLEAN, GolPareggio BOOLEAN, ValoreSpeciale REAL, RigSba INTEGER, RigPar INTEGER, "
           "GolSubiti INTEGER, GolSubitiSuRigore INTEGER, Assist INTEGER, Amm BOOLEAN, Esp BOOLEAN)";
}

void InsertLeague(sqlite3* db, const LeagueData& d) {
    InsertAll(db, "Lega", 1, d.lega, [](const std::string& n) { return Values{n}; });
    InsertAll(db, "Competizione", 34, d.competizioni, CompetizioneValues);
    InsertAll(db, "Modulo", 4, d.moduli, [](const ModuloRow& m) {
        return Values{m.id, m.numDife, m.numCent, m.numAtta};
    });
    InsertAll(db, "ModuloAmmesso", 2, d.moduliAmmessi, [](const ModuloAmmessoRow& m) {
        return Values{m.idModulo, m.idCompetizione};
    });
    InsertAll(db, "Fantasquadra", 5, d.fantasquadre, [](const FantasquadraRow& f) {
        return Values{f.id, f.nome, f.telef2, f.eMail, B(f.presGioc)};
    });
    InsertAll(db, "IncontraInA", 3, d.incontri, [](const IncontraInARow& i) {
        return Values{i.idCasa, i.idFuori, i.giornata};
    });
    InsertAll(db, "GiornataDiA", 2, d.giornate, [](const GiornataDiARow& g) {
        return Values{g.giornata, B(g.giocata)};
    });
    InsertAll(db, "GiocatoreA", 2, d.giocatori, [](const GiocatoreARow& g) { return Values{g.id, g.nome}; });
    InsertAll(db, "Tesserato", 6, d.tesserati, [](const TesseratoRow& t) {
        return Values{t.idGiocatore,     t.idSquadra,        t.ruolo,
                      t.annoDiContratto, t.inizioInfortunio, B(t.venduto)};
    });
    InsertAll(db, "GiocaIn", 4, d.giocaIn, [](const GiocaInRow& g) {
        return Values{g.idGiocatore, g.idSquadra, g.giornata, g.idPunteggio};
    });
    InsertAll(db, "Punteggio", 23, d.punteggi, PunteggioValues);
    InsertAll(db, "Formazione", 3, d.formazioni, [](const FormazioneRow& f) {
        return Values{f.idGioc, f.idSquadra, B(f.entrato)};
    });
}

}  // namespace

const std::vector<std::string>& LeagueSchemaSql() {
    static const std::vector<std::string> sql = {
        "CREATE TABLE Lega (Nome TEXT)",
        CompetizioneSql(),
        "CREATE TABLE Modulo (ID INTEGER PRIMARY KEY, NumDife INTEGER, NumCent INTEGER, NumAtta INTEGER)",
        "CREATE TABLE ModuloAmmesso (IDModulo INTEGER, IDCompetizione INTEGER)",
        std::string(
            "CREATE TABLE Fantasquadra (ID INTEGER PRIMARY KEY, Nome TEXT, Telef2 TEXT, EMail TEXT, ") +
            "PresGioc BOOLEAN)",
        "CREATE TABLE IncontraInA (IDCasa INTEGER, IDFuori INTEGER, Giornata INTEGER)",
        "CREATE TABLE GiornataDiA (Giornata INTEGER, Giocata BOOLEAN)",
        "CREATE TABLE GiocatoreA (ID INTEGER PRIMARY KEY, Nome TEXT)",
        std::string("CREATE TABLE Tesserato (IDGiocatore INTEGER, IDSquadra INTEGER, Ruolo INTEGER, ") +
            "AnnoDiContratto INTEGER, InizioInfortunio INTEGER, Venduto BOOLEAN)",
        std::string("CREATE TABLE GiocaIn (IDGiocatore INTEGER, IDSquadra INTEGER, Giornata INTEGER, ") +
            "IDPunteggio INTEGER)",
        PunteggioSql(),
        "CREATE TABLE Formazione (IDGioc INTEGER, IDSquadra INTEGER, Entrato BOOLEAN)",
    };
    return sql;
}

namespace {

void FillLeague(sqlite3* db, const LeagueData& league) {
    Execute(db, "BEGIN");
    for (const std::string& sql : LeagueSchemaSql()) Execute(db, sql);
    InsertLeague(db, league);
    Execute(db, queries::kIndiceGiocaIn);
    Execute(db, "COMMIT");
}

}  // namespace

void WriteLeagueSqlite(const LeagueData& league, const std::filesystem::path& file) {
    std::filesystem::remove(file);
    const SqlitePtr db = OpenForWriting(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    FillLeague(db.get(), league);
}

void WriteLeagueMdb(const LeagueData& league, const std::filesystem::path& file) {
    // The same tables and types as the SQLite file, so both routes give one league.
    const SqlitePtr db = OpenSqliteMemory();
    FillLeague(db.get(), league);
    jet::WriteJetDatabase(ReadSqliteTables(db.get()), file);
}

void ExecuteOnLeagueFile(const std::filesystem::path& file, std::string_view sql) {
    const SqlitePtr db = OpenForWriting(file, SQLITE_OPEN_READWRITE);
    Execute(db.get(), sql);
}

}  // namespace calvorin::demo
