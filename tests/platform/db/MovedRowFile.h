// SPDX-License-Identifier: GPL-3.0-or-later
// An Access file with a row that Jet moved off its slot (an overflow pointer to a copy flagged as deleted):
// a Jet writer copy patched as Jet itself lays such a row out.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/db/JetTestFiles.h"
#include "platform/db/SharedData.h"
#include "platform/db/SqliteFile.h"
#include "support/TempDir.h"

namespace calvorin::test {

// Jet 4 data pages: 4096 bytes, row count at 12, then one 16-bit offset per row (high bits: flags).
inline constexpr std::size_t kPage = 4096;
inline constexpr std::size_t kRowCount = 12;
inline constexpr unsigned kDeleted = 0x8000;
inline constexpr unsigned kOverflow = 0x4000;
inline constexpr unsigned kOffsetMask = 0x1FFF;

// Moves the row holding `marker` to a new slot at the end of its page, flagged deleted, and leaves an
// overflow pointer in the old slot.
inline void MoveRowToOverflow(std::string& file, const std::string& marker) {
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

// Writes `dir`/lega.mdb, four players, and `dir`/spostata.mdb, the same with the second one moved.
inline void WriteMovedRowFiles(const std::filesystem::path& dir) {
    CreateSqliteFile(dir / "lega.sqlite", R"(
        CREATE TABLE Giocatore (ID INTEGER, Nome TEXT, Voto REAL, Attivo BOOLEAN);
        INSERT INTO Giocatore VALUES (1, 'Primo giocatore', 6.5, 1), (2, 'Secondo spostato', 7, 0),
          (3, 'Terzo giocatore', 5.5, 1), (4, 'Quarto giocatore', 6, 1);)");
    WriteMdbCopy(dir / "lega.sqlite", dir / "lega.mdb");
    std::string bytes = ReadBytes(dir / "lega.mdb");
    MoveRowToOverflow(bytes, "Secondo spostato");
    WriteBytes(dir / "spostata.mdb", bytes);
}

}  // namespace calvorin::test
