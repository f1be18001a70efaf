// SPDX-License-Identifier: GPL-3.0-or-later
// The command line split as Windows splits it, whatever the C runtime would have made of argv.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PrintedWords.h"
#include "platform/os/Process.h"
#include "support/Program.h"

namespace calvorin {
namespace {

// Command lines as FCM, a shortcut or a user at the prompt may write them, and the words CommandLineToArgvW
// gives: quotes group blanks and are dropped, 2n backslashes before a quote give n, 2n+1 give n and a quote.
TEST(ProgramArgumentsWindows, CommandLineIsSplitAsWindowsSplitsIt) {
    const std::string program = PathText(test::BuildProgram("print-arguments").make_preferred());
    struct Case {
        std::string line;  // after the program's quoted name
        std::vector<std::string> words;
    } cases[] = {
        {R"("a b c" d e)", {"a b c", "d", "e"}},
        {R"("ab\"c" "\\" d)", {"ab\"c", "\\", "d"}},
        {R"(a\\\b d"e f"g h)", {"a\\\\\\b", "de fg", "h"}},
        {R"(a\\\"b c d)", {"a\\\"b", "c", "d"}},
        {R"(a\\\\"b c" d e)", {"a\\\\b c", "d", "e"}},
        {R"(/l="C:\Programmi\FCM\Leghe\Lega Società-1-2025.mdb" /s=x /c=C:\Sito\città)",
         {"/l=C:\\Programmi\\FCM\\Leghe\\Lega Società-1-2025.mdb", "/s=x", "/c=C:\\Sito\\città"}},
        {"  spazi   prima\te dopo  ", {"spazi", "prima", "e", "dopo"}},
        {R"("")", {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const test::CommandResult result =
            test::RunWithCommandLine(test::BuildProgram("print-arguments"), "\"" + program + "\" " + c.line);
        ASSERT_EQ(result.exitCode, 0) << result.output;
        EXPECT_EQ(test::PrintedLines(result.output), test::Framed(c.words));
    }
}

}  // namespace
}  // namespace calvorin
