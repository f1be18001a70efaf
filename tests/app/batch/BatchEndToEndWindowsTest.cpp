// SPDX-License-Identifier: GPL-3.0-or-later
// Crash safety of the Windows program: calvorin-with-faults.exe ended at each write in turn, as the task
// manager or a power cut would end it, leaves whole files, and the next run no temporary.
#include <gtest/gtest.h>

#include <string>

#include "DemoLeagueRun.h"

namespace calvorin {
namespace {

TEST(BatchEndToEnd, CrashOrFailureAtEveryWriteLeavesWholeFilesAndTheNextRunNoLeftover) {
    test::DemoLeague demo;
    ASSERT_EQ(demo.Run().exitCode, 0);
    const test::SiteFiles complete = test::ReadSiteFiles(demo);
    test::CrashOrFailAtEveryWrite(
        demo, [&](const std::string& when) { test::ExpectSiteFilesWhole(demo, complete, when); });
}

}  // namespace
}  // namespace calvorin
