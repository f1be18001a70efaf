// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal sink: the log's own colours and nothing else that could steer a terminal.
#include "app/batch/TerminalSink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <regex>
#include <string>

namespace calvorin {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// What the sink prints for the line, read back from a temporary file.
std::string Printed(const StyledLine& line, bool colours) {
    std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
    TerminalSink(file.get(), {.colours = colours}).AppendLine(line);
    std::rewind(file.get());
    std::string out;
    for (int c; (c = std::fgetc(file.get())) != EOF;) out += static_cast<char>(c);
    return out;
}

TEST(TerminalSink, SegmentTextNeverCarriesARawControlByteOnlyTheLogsColoursDo) {
    LogStyle green;
    green.color = Rgb{0, 128, 0};
    // Raw bytes as a caller that forgot to escape outside text would hand them over.
    StyledLine line;
    line.segments = {{"  KO: 500 \x1b]0;PWNED\x07\x1b[2J\r", LogStyle{}},
                     {"\x1b[32mProcedura terminata con successo\xc2\x9b"
                      "2J\nriga",
                      green}};
    for (bool colours : {false, true}) {
        SCOPED_TRACE(colours);
        std::string out = Printed(line, colours);
        EXPECT_NE(out.find("  KO: 500 \\x1B]0;PWNED\\x07\\x1B[2J\\x0D"), std::string::npos) << out;
        EXPECT_NE(out.find("\\x1B[32mProcedura terminata con successo\\u009B2J\nriga"), std::string::npos)
            << out;
        std::string withoutOwnColours = std::regex_replace(out, std::regex("\x1b\\[[0-9;]*m"), "");
        EXPECT_EQ(withoutOwnColours.size() == out.size(), !colours) << "colours only when asked for";
        for (char c : withoutOwnColours)
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n') << static_cast<int>(c);
        EXPECT_EQ(withoutOwnColours.find("\xc2\x9b"), std::string::npos);
    }
}

std::string ReadAll(std::FILE* file) {
    std::rewind(file);
    std::string out;
    for (int c; (c = std::fgetc(file)) != EOF;) out += static_cast<char>(c);
    return out;
}

TEST(TerminalSink, ProgressIsOneLineRewrittenInPlaceOnATerminalAndAbsentElsewhere) {
    StyledLine line;
    line.segments = {{"    OK", LogStyle{}}};
    for (bool terminal : {true, false}) {
        SCOPED_TRACE(terminal);
        std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
        TerminalSink sink(file.get(), {.progressLine = terminal});
        sink.ShowProgress({10, 100, 0, -1});
        sink.ShowProgress({50, 100, 2e6, 25});
        sink.AppendLine(line);  // a line meanwhile takes the progress line's place
        sink.ShowProgress({100, 100, 2e6, 0});
        sink.EndProgress();
        const std::string out = ReadAll(file.get());
        if (terminal) {
            EXPECT_EQ(out,
                      "    10%\r\x1b[K    50% - 2.0 MB/s - 25 s rimanenti\r\x1b[K    OK\n"
                      "    100% - 2.0 MB/s - 0 s rimanenti\r\x1b[K");
        } else {
            EXPECT_EQ(out, "    OK\n") << "a file or a pipe gets the log's lines only";
        }
    }
}

// Navy headings vanished on dark terminals: every colour of the log now reads on dark and light alike.
TEST(TerminalSink, LogColoursBecomeTerminalColoursReadableOnAnyBackground) {
    struct Case {
        const char* markup;
        const char* style;
    } cases[] = {
        {"<navy><b>• Heading</b></color>", "\x1b[1m"},
        {"<blue>x</color>", ""},
        {"<skyblue>x</color>", ""},
        {"<black><i>x</i></color>", "\x1b[3m"},
        {"<gray>x</color>", ""},
        {"<green>OK</color>", "\x1b[32m"},
        {"<red><b>Operazione annullata</b></color>", "\x1b[1;31m"},
        {"<maroon>x</color>", "\x1b[31m"},
        {"<olive>x</color>", "\x1b[33m"},
        {"<purple>x</color>", "\x1b[35m"},
        {"<teal><u>x</u></color>", "\x1b[4;36m"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.markup);
        const StyledLine line = ParseMarkup(c.markup);
        ASSERT_FALSE(line.segments.empty());
        const LogStyle& style = line.segments.back().style;
        EXPECT_EQ(TerminalStyle(style), c.style);
        if (style.color) {
            EXPECT_EQ(TerminalStyle(style).find("38;"), std::string::npos)
                << "the terminal's own colours only";
        }
    }
}

// Below about 40 columns the progress line used to wrap, and each rewrite left a fragment behind.
TEST(TerminalSink, ProgressLineStaysWithinTheTerminalsWidthWhateverItsSizeAndKind) {
    const ProgressState state{50, 100, 2e6, 125};
    for (bool eraseLine : {true, false}) {
        for (std::optional<int> columns :
             {std::optional<int>(), std::optional<int>(120), std::optional<int>(36), std::optional<int>(20),
              std::optional<int>(5), std::optional<int>(1)}) {
            SCOPED_TRACE(::testing::Message()
                         << "erase " << eraseLine << ", columns " << columns.value_or(-1));
            std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
            TerminalAbilities abilities{.progressLine = true, .eraseLine = eraseLine};
            abilities.columns = [columns] { return columns; };
            TerminalSink sink(file.get(), abilities);
            sink.ShowProgress(state);
            sink.ShowProgress(state);
            sink.EndProgress();
            const std::string out = ReadAll(file.get());
            EXPECT_EQ(out.find('\n'), std::string::npos);
            EXPECT_EQ(out.find('\x1b') == std::string::npos, !eraseLine)
                << "a dumb terminal gets no sequence";
            const std::string shown = std::regex_replace(out, std::regex("\x1b\\[K"), "");
            std::size_t longest = 0;
            for (std::size_t start = 0, end; start <= shown.size(); start = end + 1) {
                end = std::min(shown.find('\r', start), shown.size());
                longest = std::max(longest, end - start);
            }
            if (columns) {
                EXPECT_LE(longest, static_cast<std::size_t>(std::max(*columns - 1, 0))) << out;
            } else {
                EXPECT_NE(out.find("    50% - 2.0 MB/s - 2 min 05 s rimanenti"), std::string::npos) << out;
            }
            EXPECT_TRUE(shown.ends_with("\r")) << "the line is left empty for the next one: " << out;
        }
    }
}

}  // namespace
}  // namespace calvorin
