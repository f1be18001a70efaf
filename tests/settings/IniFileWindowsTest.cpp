// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file's rights on Windows: its owner's alone when new (under Wine, see IsOwnerOnly), as they
// were when replaced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/IniFile.h"
#include "support/TempDir.h"
#include "support/windows/WindowsFiles.h"

namespace calvorin {
namespace {

TEST(IniFile, NewFileIsTheOwnersAloneAndAReplacedOneKeepsItsRights) {
    test::TempDir dir;
    IniFile ini;
    ini.WriteString("Backup", "Password", "segreta");
    ini.Save(dir / "nuovo.ini");
    const test::AccessList created = test::ReadAccessList(dir / "nuovo.ini");
    EXPECT_TRUE(test::IsOwnerOnly(created)) << test::Describe(created);

    test::WriteBytes(dir / "vecchio.ini", "[Backup]\r\n");
    const test::AccessList before = test::ReadAccessList(dir / "vecchio.ini");
    ini.Save(dir / "vecchio.ini");
    const test::AccessList after = test::ReadAccessList(dir / "vecchio.ini");
    EXPECT_EQ(after.inheritsFromFolder, before.inheritsFromFolder);
    EXPECT_EQ(after.allowed, before.allowed);
    EXPECT_EQ(after.denied, before.denied);
    EXPECT_EQ(IniFile::Load(dir / "vecchio.ini").ReadValue("Backup", "Password"), "segreta");
}

}  // namespace
}  // namespace calvorin
