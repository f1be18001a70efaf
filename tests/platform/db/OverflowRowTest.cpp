// SPDX-License-Identifier: GPL-3.0-or-later
// A row that Jet moved off its slot (an overflow pointer to a copy flagged as deleted) is read once, in
// its own place. The file is a Jet writer copy patched as Jet itself lays such a row out.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/JetTestFiles.h"
#include "platform/db/SharedData.h"
#include "platform/db/SqliteFile.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;

// Jet 4 data pages: 4096 bytes, row count at 12, then one 16-bit offset per row (high bits: flags).
constexpr std::size_t kPage = 4096;
constexpr std::size_t kRowCount = 12;
constexpr unsigned kDeleted = 0x8000;
constexpr unsigned kOverflow = 0x4000;
constexpr unsigned kOffsetMask = 0x1FFF;

using test::Get16;
using test::Put16;

// Moves the row holding `marker` to a new slot at the end of its page, flagged deleted, and leaves an
// overflow pointer in the old slot.
void MoveRowToOverflow(std::string& file, const std::string& marker) {
    const std::size_t at = file.find(marker);
    ASSERT_NE(at, std::string::npos);
    const std::size_t page = at / kPage, base = page * kPage;
    ASSERT_EQ(file[base], '\x01') << "not a data page";
    const unsigned rows = Get16(file, base + kRowCount);
    const auto start = [&](unsigned r) { return Get16(file, base + kRowCount + 2 + 2 * r) & kOffsetMask; };
    const auto end = [&](unsigned r) { return r == 0 ? kPage : start(r - 1); };
    unsigned slot = 0;
    while (slot < rows && !(base + start(slot) <= at && at < base + end(slot))) ++slot;
    ASSERT_LT(slot, rows);
    const std::size_t length = end(slot) - start(slot), copy = start(rows - 1) - length;
    ASSERT_GT(copy, kRowCount + 2 + 2 * (rows + 1)) << "no room on the page";
    file.replace(base + copy, length, file.substr(base + start(slot), length));
    Put16(file, base + kRowCount + 2 + 2 * rows, static_cast<unsigned>(copy) | kDeleted);
    Put16(file, base + kRowCount, rows + 1);
    const std::size_t pointer = base + start(slot);
    file[pointer] = static_cast<char>(rows);
    for (int i = 0; i < 3; ++i) file[pointer + 1 + i] = static_cast<char>((page >> (8 * i)) & 0xFF);
    Put16(file, base + kRowCount + 2 + 2 * slot, start(slot) | kOverflow);
}

std::vector<std::string> Rows(const fs::path& file) {
    Database db = Database::Open(file);
    Query q = db.Prepare("SELECT * FROM Giocatore ORDER BY rowid");
    std::vector<std::string> rows;
    while (q.Next())
        rows.push_back(q.Text("ID") + "|" + q.Text("Nome") + "|" + q.Text("Voto") + "|" + q.Text("Attivo"));
    return rows;
}

TEST(OverflowRowTest, AMovedRowIsReadOnceInItsPlace) {
    test::TempDir dir;
    test::CreateSqliteFile(dir / "lega.sqlite", R"(
        CREATE TABLE Giocatore (ID INTEGER, Nome TEXT, Voto REAL, Attivo BOOLEAN);
        INSERT INTO Giocatore VALUES (1, 'Primo giocatore', 6.5, 1), (2, 'Secondo spostato', 7, 0),
          (3, 'Terzo giocatore', 5.5, 1), (4, 'Quarto giocatore', 6, 1);)");
    test::WriteMdbCopy(dir / "lega.sqlite", dir / "lega.mdb");
    std::string bytes = test::ReadBytes(dir / "lega.mdb");
    MoveRowToOverflow(bytes, "Secondo spostato");
    test::WriteBytes(dir / "spostata.mdb", bytes);

    const std::vector<std::string> expected = Rows(dir / "lega.mdb");
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(Rows(dir / "spostata.mdb"), expected);
    // mdbtools reads the moved copy at the end instead: the same rows, so the patched page is sound.
    const std::string peer =
        test::OutputOf("mdb-export -H " + test::ShellQuote(dir / "spostata.mdb") + " Giocatore");
    EXPECT_THAT(peer, ::testing::HasSubstr("2,\"Secondo spostato\""));
}

}  // namespace
}  // namespace calvorin
