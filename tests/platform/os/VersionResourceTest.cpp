// SPDX-License-Identifier: GPL-3.0-or-later
// The version an executable declares: none for one built without a resource, nor for a missing file.
#include "platform/os/VersionResource.h"

#include <gtest/gtest.h>

#include "platform/os/PathText.h"
#include "platform/os/Process.h"

namespace calvorin {
namespace {

TEST(ReadFileVersion, ExecutableWithoutAResourceOrNoFileGivesNone) {
    const std::filesystem::path self = ProgramPath();
    ASSERT_TRUE(std::filesystem::is_regular_file(self)) << PathText(self);
    EXPECT_FALSE(ReadFileVersion(self).has_value());
    EXPECT_FALSE(ReadFileVersion(self.parent_path() / "manca.exe").has_value());
}

}  // namespace
}  // namespace calvorin
