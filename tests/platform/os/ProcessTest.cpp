// SPDX-License-Identifier: GPL-3.0-or-later
// The program's arguments and environment as a child of the build receives them, accents and all.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "PrintedWords.h"
#include "platform/os/Process.h"
#include "support/Program.h"
#include "support/ScopedEnv.h"

namespace calvorin {
namespace {

using namespace std::chrono_literals;

const std::filesystem::path kChild = test::BuildProgram("print-arguments");

// Whatever a word holds (blanks, quotes, backslashes before a quote or at its end, accents), the child
// gets it back as it was: on Windows through the command line that the runner quotes and
// ProgramArguments splits.
TEST(ProgramArguments, EveryWordReachesTheChildAsItWas) {
    const std::vector<std::string> words = {"semplice",
                                            "con spazio",
                                            "",
                                            "virgolette\"dentro",
                                            "barra\\rovescia",
                                            "finale\\",
                                            "\\\\\"misto\\",
                                            "città Società",
                                            "tab\tqui",
                                            R"(/l=C:\FCM\Leghe\Lega-Società-1-2025.mdb)",
                                            "\"",
                                            "a\\\\b c\\\\"};
    const test::CommandResult result = test::RunProgram(kChild, words);
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(test::PrintedLines(result.output), test::Framed(words));
}

TEST(ProgramArguments, EnvironmentOfTheChildIsTheTestsWithItsChanges) {
    test::ScopedEnv inherited("CALVORIN_TEST_ECHO", "ereditata");
    EXPECT_EQ(EnvironmentVariable("CALVORIN_TEST_ECHO"), "ereditata");
    EXPECT_EQ(test::PrintedLines(test::RunProgram(kChild, {}).output),
              std::vector<std::string>{"env=[ereditata]"});

    test::RunOptions options;
    options.environment.emplace_back("CALVORIN_TEST_ECHO", "Società città");
    EXPECT_EQ(test::PrintedLines(test::RunProgram(kChild, {}, options).output),
              std::vector<std::string>{"env=[Società città]"});
    options.environment = {{"CALVORIN_TEST_ECHO", std::nullopt}};
    EXPECT_EQ(test::PrintedLines(test::RunProgram(kChild, {}, options).output), std::vector<std::string>{});
    {
        test::ScopedEnv accented("CALVORIN_TEST_ECHO", "perché");
        EXPECT_EQ(EnvironmentVariable("CALVORIN_TEST_ECHO"), "perché");
    }
    EXPECT_EQ(EnvironmentVariable("CALVORIN_TEST_ECHO"), "ereditata");
}

TEST(ProgramArguments, ChildPastItsTimeIsEndedAndReportedSo) {
    test::RunOptions options;
    options.timeout = 1s;
    const auto start = std::chrono::steady_clock::now();
    const test::CommandResult result = test::RunProgram(kChild, {"--wait"}, options);
    EXPECT_EQ(result.exitCode, -1) << result.output;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
}

}  // namespace
}  // namespace calvorin
