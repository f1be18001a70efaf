// SPDX-License-Identifier: GPL-3.0-or-later
// Times copying a large Access table into memory (Database::Open) against mdb-export reading the same file.
#include <sqlite3.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/db/Database.h"
#include "support/TempDir.h"
#include "tools/demo/SqliteToMdb.h"

namespace {

namespace fs = std::filesystem;
constexpr int kRuns = 3;

// A score table shaped like the league's biggest: integers, marks, a flag and a name per row.
std::string ScoreTableSql(long rows) {
    return "CREATE TABLE Punteggio (ID INTEGER, IDGiocatore INTEGER, Giornata INTEGER, GolFatti1 INTEGER, "
           "Voto1 REAL, ValoreSpeciale REAL, Amm BOOLEAN, Nome TEXT);"
           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(rows) +
           ") INSERT INTO Punteggio SELECT i, i % 700, i % 38 + 1, i % 3, 4 + (i % 9) / 2.0, (i % 7) * 0.25, "
           "i % 5 = 0, 'Giocatore n° ' || (i % 700) FROM n;";
}

void CreateSqlite(const fs::path& file, long rows) {
    sqlite3* db = nullptr;
    const bool ok = sqlite3_open(file.c_str(), &db) == SQLITE_OK &&
                    sqlite3_exec(db, ScoreTableSql(rows).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!ok) throw std::runtime_error("cannot build the SQLite source");
}

void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

double BestSeconds(const std::function<void()>& work) {
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best =
            std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

long CountRows(calvorin::Database& db) {
    calvorin::Query q = db.Prepare("SELECT COUNT(*) AS N FROM Punteggio");
    q.Next();
    return static_cast<long>(q.Integer("N"));
}

}  // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 200000;
    const calvorin::test::TempDir scratch;
    const fs::path& dir = scratch.path();
    const fs::path sqlite = dir / "Lega.sqlite", mdb = dir / "Lega.mdb";
    try {
        CreateSqlite(sqlite, rows);
        calvorin::demo::CopySqliteToMdb(sqlite, mdb);
        long copied = 0;
        const double ours = BestSeconds([&] {
            calvorin::Database db = calvorin::Database::Open(mdb);
            copied = CountRows(db);
        });
        const double peer =
            BestSeconds([&] { Run("mdb-export '" + mdb.string() + "' Punteggio >/dev/null"); });
        std::printf("Access copy of %ld rows (%.1f MB file), best of %d runs\n", copied,
                    static_cast<double>(fs::file_size(mdb)) / 1e6, kRuns);
        std::printf("  Database::Open   %7.3f s  %9.0f rows/s\n", ours, static_cast<double>(copied) / ours);
        std::printf("  mdb-export (CSV) %7.3f s  %9.0f rows/s\n", peer, static_cast<double>(copied) / peer);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
