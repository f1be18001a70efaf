// SPDX-License-Identifier: GPL-3.0-or-later
// The start-time export ended by a crash at each of its writes in turn, and node reading what is left.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SerieAExportFixture.h"
#include "SerieAExportNode.h"
#include "support/FaultInjection.h"
#include "support/posix/ChildProcess.h"

namespace calvorin {
namespace {

using test::DefaultOrari;
using test::ExpectedBlock;
using test::ExpectNodeReadsTheTable;
using test::NewOrari;
using test::OldBlock;
using test::Orari;
using test::SerieAExportTest;

// True when the call threw.
template <typename Call>
bool Throws(Call&& call) {
    try {
        call();
        return false;
    } catch (const std::runtime_error&) {
        return true;
    }
}

TEST_F(SerieAExportTest, FailureOrCrashAtEveryWriteLeavesFcmsFileWholeAndNoTemporaryAfterTheNextRun) {
    const std::string fcm = "var arrSquadreA=new Array()\r\n";
    test::WriteBytes(File(), fcm + OldBlock());
    std::size_t at = 1;
    for (;; ++at) {
        SCOPED_TRACE(at);
        const std::string before = test::ReadBytes(File());
        int status = test::RunInChild([&] {
            test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Crash, at});
            ScopedFileSystem scope(faulty);
            EsportaOrariSerieA(NewOrari(), dir.path().string(), log);
        });
        const std::string after = test::ReadBytes(File());
        EXPECT_TRUE(after == before || after == fcm + ExpectedBlock(NewOrari())) << after;
        {
            test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Fail, at});
            ScopedFileSystem scope(faulty);
            // A failed folder sync comes after the rename: the file is written, and the log warns.
            const bool threw = Throws([&] { EsportaOrariSerieA(DefaultOrari(), dir.path().string(), log); });
            EXPECT_EQ(threw, status != 0 && !faulty.FailedAtFolderSync());
            if (faulty.FailedAtFolderSync()) {
                EXPECT_NE(sink.LastLine().find("Attenzione: il file"), std::string::npos) << sink.LastLine();
            }
        }
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "js"))
            names.push_back(entry.path().filename());
        EXPECT_EQ(names, std::vector<std::string>{"fcmSerieADati.js"});
        EXPECT_TRUE(test::ReadBytes(File()).starts_with(fcm));
        if (status == 0) break;
        ASSERT_EQ(status, test::kCrashExitCode);
    }
    EXPECT_GE(at, 5u);
    ExpectNodeReadsTheTable(File(), DefaultOrari());
}

}  // namespace
}  // namespace calvorin
