// SPDX-License-Identifier: GPL-3.0-or-later
// The line-up generator on a small league whose values the fuzz bytes change, duplicate or delete.
#include <sqlite3.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "lineup/GeneraDatiInvioFormazione.h"
#include "lineup/LeagueQueries.h"
#include "platform/db/SqliteConnection.h"
#include "plugin/log/Log.h"
#include "tools/demo/LeagueSchema.h"

namespace {

namespace fs = std::filesystem;
using namespace calvorin;

// Reads the fuzz bytes front to back; past the end every read gives zero.
class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint64_t Word() {
        std::uint64_t w = 0;
        for (int i = 0; i < 8; ++i) w = w << 8 | Byte();
        return w;
    }
    std::string Text(std::size_t length) {
        std::string s;
        while (s.size() < length && !Empty()) s += static_cast<char>(Byte());
        return s;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_, pos_ = 0;
};

StatementPtr Prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) std::abort();
    return StatementPtr(raw);
}

demo::LeagueData BaseLeague() {
    using namespace demo;
    LeagueData d;
    d.lega = {"Lega Amici"};
    CompetizioneRow main;
    CompetizioneRow cup;
    cup.id = 2;
    cup.nome = "Coppa";
    cup.predefinita = false;
    d.competizioni = {main, cup};
    d.moduli = {{1, 3, 4, 3}, {2, 4, 4, 2}};
    d.moduliAmmessi = {{1, 1}, {2, 1}, {2, 2}};
    d.fantasquadre = {{1, "Amici", "alfa [noex]", "uno@example.org", true},
                      {2, "Bar \"Sport\"", "beta [noex]", "due@example.org", false}};
    d.incontri = {{1, 2, 1}, {3, 4, 1}, {4, 1, 2}, {2, 3, 2}};
    d.giornate = {{1, true}, {2, false}};
    for (Id player = 1; player <= 6; ++player) {
        d.giocatori.push_back({player, "Giocatore " + std::to_string(player)});
        TesseratoRow t;
        t.idGiocatore = player;
        t.idSquadra = 1 + player % 2;
        t.ruolo = 1 + player % 4;
        t.annoDiContratto = player == 3 ? 101 : 1;
        d.tesserati.push_back(t);
        for (std::int64_t m = 1; m <= 2; ++m) {
            d.giocaIn.push_back({player, 1 + player % 4, m, player * 10 + m});
            PunteggioRow p;
            p.id = player * 10 + m;
            p.voto = {6.5, 6, kNoMarkValue};
            p.golFatti = {static_cast<std::int64_t>(player % 2), 0, 0};
            p.amm = player == 2;
            d.punteggi.push_back(p);
        }
        d.formazioni.push_back({player, t.idSquadra, true});
    }
    return d;
}

struct Table {
    std::string name;
    std::vector<std::string> columns, types;
};

// A folder of its own for this process: the league file and the site folder, removed at exit.
class Scratch {
  public:
    Scratch()
        : root_(fs::temp_directory_path() /
                ("calvorin-fuzz-league-" + std::to_string(std::random_device{}()))) {
        fs::remove_all(root_);
        fs::create_directories(root_ / "FCM" / "Leghe");
        fs::create_directories(Site() / "js");
        fs::create_directories(Site() / "invform");
        demo::WriteLeagueSqlite(BaseLeague(), League());
        std::ifstream in(League(), std::ios::binary);
        base_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        SqlitePtr db = Open();
        for (const std::string& name : queries::LeagueTables()) {
            Table table{name, {}, {}};
            StatementPtr info = Prepare(db.get(), "PRAGMA table_info(" + name + ")");
            while (sqlite3_step(info.get()) == SQLITE_ROW) {
                table.columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1)));
                table.types.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2)));
            }
            if (table.columns.empty()) std::abort();
            tables_.push_back(std::move(table));
        }
        context_.Version = "2.4.0";
        context_.LeagueFile = League().string();
        context_.LeagueBaseName = "Lega-1-2024";
        context_.LeagueName = "Lega";
        context_.SeasonNumber = 1;
        context_.SeasonYear = 2024;
        context_.FcmFolder = (root_ / "FCM").string();
        context_.SiteFolder = Site().string();
        context_.SArgument = "fuzz";
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path League() const { return root_ / "FCM" / "Leghe" / "Lega-1-2024.sqlite"; }
    fs::path Site() const { return root_ / "Sito"; }
    const PluginContext& Context() const { return context_; }
    const std::vector<Table>& Tables() const { return tables_; }

    // Puts the base league back and opens it for the edits of one input.
    SqlitePtr Reset() {
        std::ofstream out(League(), std::ios::binary | std::ios::trunc);
        out.write(base_.data(), static_cast<std::streamsize>(base_.size()));
        if (!out.flush()) std::abort();
        out.close();
        for (const char* file : {"js/fcmInvioFormazioneDati.js", "invform/invform.inc.php"}) {
            std::error_code ignored;
            fs::remove(Site() / file, ignored);
        }
        return Open();
    }

  private:
    SqlitePtr Open() const {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(League().string().c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        SqlitePtr db(raw);
        if (rc != SQLITE_OK) std::abort();
        return db;
    }

    fs::path root_;
    std::string base_;
    std::vector<Table> tables_;
    PluginContext context_;
};

// Binds a value of the kind the next byte picks: NULL, an extreme or small integer, a real, or a text.
void BindValue(sqlite3_stmt* s, int position, Bytes& in) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    switch (in.Byte() % 14) {
        case 0:
            sqlite3_bind_null(s, position);
            break;
        case 1:
            sqlite3_bind_int64(s, position, kMax);
            break;
        case 2:
            sqlite3_bind_int64(s, position, kMin);
            break;
        case 3:
            sqlite3_bind_int64(s, position, std::int64_t{1} << 31);
            break;
        case 4:
            sqlite3_bind_int64(s, position, -1);
            break;
        case 5:
            sqlite3_bind_int64(s, position, 0);
            break;
        case 6:
            sqlite3_bind_int64(s, position, static_cast<std::int8_t>(in.Byte()));
            break;
        case 7:
            sqlite3_bind_int64(s, position, static_cast<std::int64_t>(in.Word()));
            break;
        case 8:
            sqlite3_bind_double(s, position, 1e300);
            break;
        case 9:
            sqlite3_bind_double(s, position, -0.5);
            break;
        case 10: {
            const std::uint64_t bits = in.Word();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            sqlite3_bind_double(s, position, d);
            break;
        }
        case 11:
            sqlite3_bind_text(s, position, "", 0, SQLITE_STATIC);
            break;
        case 12:
            sqlite3_bind_text(s, position, "12abc", -1, SQLITE_STATIC);
            break;
        default: {
            const std::string text = in.Text(in.Byte() % 48);
            sqlite3_bind_text(s, position, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
    }
}

// One edit: change a field, duplicate a row or delete one. A refused edit (a duplicate key, a text in an
// ID column) is expected and skipped.
void ApplyEdit(sqlite3* db, const std::vector<Table>& tables, Bytes& in) {
    const std::uint8_t op = in.Byte() % 4;
    const Table& table = tables[in.Byte() % tables.size()];
    const std::int64_t row = 1 + in.Byte() % 16;
    StatementPtr s;
    if (op == 0) {
        s = Prepare(db, "INSERT INTO " + table.name + " SELECT * FROM " + table.name + " WHERE rowid = ?");
        sqlite3_bind_int64(s.get(), 1, row);
    } else if (op == 1) {
        s = Prepare(db, "DELETE FROM " + table.name + " WHERE rowid = ?");
        sqlite3_bind_int64(s.get(), 1, row);
    } else {
        const std::string& column = table.columns[in.Byte() % table.columns.size()];
        s = Prepare(db, "UPDATE " + table.name + " SET \"" + column + "\" = ? WHERE rowid = ?");
        BindValue(s.get(), 1, in);
        sqlite3_bind_int64(s.get(), 2, row);
    }
    sqlite3_step(s.get());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Scratch scratch;
    Bytes in(data, size);
    LineupOptions options;
    const std::uint8_t flags = in.Byte();
    options.primavera = flags & 1;
    options.eMailPresidente = flags & 2;
    options.indirizzoPresidenteAuto = flags & 4;
    options.inviaEMail = flags & 8;
    options.indirizzoPresidente = "presidente@example.org";
    options.scriptServer = "invform/invform.php";
    {
        SqlitePtr db = scratch.Reset();
        // One transaction without syncing: the edits of one input are thrown away after it anyway.
        if (sqlite3_exec(db.get(), "PRAGMA synchronous = OFF; PRAGMA journal_mode = MEMORY; BEGIN", nullptr,
                         nullptr, nullptr) != SQLITE_OK)
            std::abort();
        for (int edits = 0; edits < 32 && !in.Empty(); ++edits) ApplyEdit(db.get(), scratch.Tables(), in);
        if (sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
    }
    MemoryLogSink sink;
    Log log(sink);
    const bool written = GeneraDatiInvioFormazione(options, scratch.Context(), log);
    if (std::getenv("CALVORIN_FUZZ_LOG")) std::fputs(sink.Text().c_str(), stderr);
    // The league untouched must go through, or the edits would only ever reach the first failure.
    if (size <= 1 && !written) std::abort();
    if (written && !fs::exists(scratch.Site() / "invform" / "invform.inc.php")) std::abort();
    return 0;
}
