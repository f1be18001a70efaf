// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/batch/TerminalSink.h"

#include <string>

#include "platform/os/Process.h"
#include "platform/text/VisibleControls.h"

namespace calvorin {
namespace {

std::string AnsiStyle(const LogStyle& s) {
    std::string codes;
    auto add = [&codes](const std::string& code) { codes += (codes.empty() ? "" : ";") + code; };
    if (s.bold) add("1");
    if (s.italic) add("3");
    if (s.underline) add("4");
    if (s.strikeOut) add("9");
    if (s.color)
        add("38;2;" + std::to_string(s.color->r) + ";" + std::to_string(s.color->g) + ";" +
            std::to_string(s.color->b));
    return codes.empty() ? std::string() : "\x1b[" + codes + "m";
}

}  // namespace

bool TerminalSink::ColoursWanted(std::FILE* out) {
    const std::optional<std::string> noColor = EnvironmentVariable("NO_COLOR");
    return IsTerminal(out) && !(noColor && !noColor->empty());
}

bool TerminalSink::IsTerminal(std::FILE* out) {
    return calvorin::IsTerminal(out);
}

void TerminalSink::ShowProgress(const ProgressState& state) {
    if (!progressLine_) return;
    // Back to the start of the line and clear it: the line is rewritten in place.
    std::fputs("\r\x1b[K", out_);
    std::fputs(("    " + state.Text()).c_str(), out_);
    std::fflush(out_);
    progressShown_ = true;
}

void TerminalSink::EndProgress() {
    ClearProgress();
}

void TerminalSink::ClearProgress() {
    if (!progressShown_) return;
    std::fputs("\r\x1b[K", out_);
    std::fflush(out_);
    progressShown_ = false;
}

void TerminalSink::AppendLine(const StyledLine& line) {
    ClearProgress();
    for (const auto& segment : line.segments) {
        std::string style = colours_ ? AnsiStyle(segment.style) : std::string();
        std::fputs(style.c_str(), out_);
        // Outside text was escaped where it entered the log; this catches any that was not, so that only
        // the log's own colours ever reach the terminal.
        std::fputs(VisibleControls(segment.text, true).c_str(), out_);
        if (!style.empty()) std::fputs("\x1b[0m", out_);
    }
    std::fputc('\n', out_);
    std::fflush(out_);
}

}  // namespace calvorin
