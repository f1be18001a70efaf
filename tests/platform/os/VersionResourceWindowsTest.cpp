// SPDX-License-Identifier: GPL-3.0-or-later
// The version resource of Calvorin.exe, which the program shows and FCM's plug-in list reads.
#include <gtest/gtest.h>

#include "platform/os/VersionResource.h"
#include "support/Program.h"

namespace calvorin {
namespace {

TEST(ReadFileVersionWindows, CalvorinExeDeclaresTheProjectVersion) {
    const auto version = ReadFileVersion(test::BuildProgram("Calvorin"));
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->major, CALVORIN_VERSION_MAJOR);
    EXPECT_EQ(version->minor, CALVORIN_VERSION_MINOR);
    EXPECT_EQ(version->release, CALVORIN_VERSION_PATCH);
    EXPECT_EQ(version->build, CALVORIN_VERSION_TWEAK);
    EXPECT_EQ(version->comments, CALVORIN_COMMENTS);
}

}  // namespace
}  // namespace calvorin
