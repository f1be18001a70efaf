// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file's modes on POSIX: private when new, as it was when replaced.
#include <gtest/gtest.h>

#include "settings/IniFile.h"
#include "support/TempDir.h"
#include "support/posix/PosixFiles.h"

namespace calvorin {
namespace {

TEST(IniFile, NewFileIsReadableByItsOwnerOnlyAndAReplacedOneKeepsItsMode) {
    test::TempDir dir;
    IniFile ini;
    ini.WriteString("Backup", "Password", "segreta");
    {
        test::ScopedUmask widest(0);  // only the program can make the new file private
        ini.Save(dir / "new.ini");
        test::WriteBytes(dir / "old.ini", "[Backup]\r\n");
        std::filesystem::permissions(dir / "old.ini", std::filesystem::perms(0640));
        ini.Save(dir / "old.ini");
    }
    EXPECT_EQ(std::filesystem::status(dir / "new.ini").permissions(), std::filesystem::perms(0600));
    EXPECT_EQ(std::filesystem::status(dir / "old.ini").permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(IniFile::Load(dir / "old.ini").ReadValue("Backup", "Password"), "segreta");
}

}  // namespace
}  // namespace calvorin
