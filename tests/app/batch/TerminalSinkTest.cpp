// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal sink: the log's own colours and nothing else that could steer a terminal.
#include "app/batch/TerminalSink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
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
    TerminalSink(file.get(), colours).AppendLine(line);
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
        TerminalSink sink(file.get(), false, terminal);
        sink.ShowProgress({10, 100, 0, -1});
        sink.ShowProgress({50, 100, 2e6, 25});
        sink.AppendLine(line);  // a line meanwhile takes the progress line's place
        sink.ShowProgress({100, 100, 2e6, 0});
        sink.EndProgress();
        const std::string out = ReadAll(file.get());
        if (terminal) {
            EXPECT_EQ(out,
                      "\r\x1b[K    10%\r\x1b[K    50% - 2.0 MB/s - 25 s rimanenti\r\x1b[K    OK\n"
                      "\r\x1b[K    100% - 2.0 MB/s - 0 s rimanenti\r\x1b[K");
        } else {
            EXPECT_EQ(out, "    OK\n") << "a file or a pipe gets the log's lines only";
        }
    }
}

}  // namespace
}  // namespace calvorin
