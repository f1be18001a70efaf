// SPDX-License-Identifier: GPL-3.0-or-later
// The file with a moved row as mdbtools reads it: the patched page is sound.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/db/MovedRowFile.h"
#include "support/Command.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

// mdbtools reads the moved copy at the end instead of in its place: the same row, whole.
TEST(OverflowRowPeersTest, MdbExportReadsTheMovedRow) {
    test::TempDir dir;
    test::WriteMovedRowFiles(dir.path());
    const std::string peer =
        test::OutputOf("mdb-export -H " + test::ShellQuote(dir / "spostata.mdb") + " Giocatore");
    EXPECT_THAT(peer, ::testing::HasSubstr("2,\"Secondo spostato\""));
}

}  // namespace
}  // namespace calvorin
