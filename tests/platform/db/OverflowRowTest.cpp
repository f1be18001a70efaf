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
#include "platform/db/MovedRowFile.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;

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
    test::WriteMovedRowFiles(dir.path());
    const std::vector<std::string> expected = Rows(dir / "lega.mdb");
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(Rows(dir / "spostata.mdb"), expected);
}

}  // namespace
}  // namespace calvorin
