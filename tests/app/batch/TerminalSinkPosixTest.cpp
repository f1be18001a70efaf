// SPDX-License-Identifier: GPL-3.0-or-later
// What the log learns of a real (pseudo-)terminal: whether to colour, how to clear a line, how wide it is.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/batch/TerminalSink.h"
#include "support/ScopedEnv.h"
#include "support/posix/PseudoTerminal.h"

namespace calvorin {
namespace {

TEST(TerminalSinkPosix, TerminalKindAndNoColorDecideColoursAndHowALineIsCleared) {
    struct Case {
        std::optional<std::string> term;
        std::optional<std::string> noColor;
        bool colours;
        bool eraseLine;
    } cases[] = {
        {"xterm-256color", std::nullopt, true, true},
        {std::nullopt, std::nullopt, true, true},
        {"xterm", "1", false, true},
        {"xterm", "", true, true},  // NO_COLOR counts only when it has a value
        {"dumb", std::nullopt, false, false},
    };
    test::PseudoTerminal terminal;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.term.value_or("(unset)") + " NO_COLOR=" + c.noColor.value_or("(unset)"));
        test::ScopedEnv term("TERM", c.term);
        test::ScopedEnv noColor("NO_COLOR", c.noColor);
        const TerminalAbilities abilities = TerminalSink::AbilitiesOf(terminal.Stream());
        EXPECT_EQ(abilities.colours, c.colours);
        EXPECT_EQ(abilities.eraseLine, c.eraseLine);
        EXPECT_TRUE(abilities.progressLine);
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
    test::ScopedEnv term("TERM", std::string("xterm"));
    const TerminalAbilities redirected = TerminalSink::AbilitiesOf(file.get());
    EXPECT_FALSE(redirected.colours || redirected.progressLine) << "a file gets the log's lines alone";
}

TEST(TerminalSinkPosix, ProgressFollowsTheTerminalsWidthAsItIsResized) {
    test::PseudoTerminal terminal;
    test::ScopedEnv term("TERM", std::string("xterm"));
    TerminalSink sink(terminal.Stream(), TerminalSink::AbilitiesOf(terminal.Stream()));
    const ProgressState state{50, 100, 2e6, 125};
    sink.ShowProgress(state);
    EXPECT_EQ(terminal.ReadAvailable(), "    50% - 2.0 MB/s - 2 min 05 s rimanenti");
    terminal.SetColumns(20);
    sink.ShowProgress(state);
    EXPECT_EQ(terminal.ReadAvailable(), "\r\x1b[K    50% - 2.0 MB/s ");
    sink.EndProgress();
    EXPECT_EQ(terminal.ReadAvailable(), "\r\x1b[K");
}

}  // namespace
}  // namespace calvorin
