// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/batch/TerminalSink.h"

#include <algorithm>
#include <string>

#include "platform/os/Process.h"
#include "platform/text/Utf8.h"
#include "platform/text/VisibleControls.h"

namespace calvorin {
namespace {

// The foreground code (31-36) for a colour of the log, or 0 for the terminal's default.
int ColourCode(const Rgb& c) {
    const int high = std::max({c.r, c.g, c.b});
    const int low = std::min({c.r, c.g, c.b});
    // Greys, black and white say nothing a default colour would not.
    if (high - low < 48) return 0;
    const int threshold = (high + low) / 2;
    const bool r = c.r > threshold, g = c.g > threshold, b = c.b > threshold;
    if (r && g) return 33;
    if (r && b) return 35;
    if (g && b) return 36;
    if (r) return 31;
    if (g) return 32;
    return 0;  // blue, navy: unreadable on a dark background
}

}  // namespace

std::string TerminalStyle(const LogStyle& s) {
    std::string codes;
    auto add = [&codes](int code) { codes += (codes.empty() ? "" : ";") + std::to_string(code); };
    if (s.bold) add(1);
    if (s.italic) add(3);
    if (s.underline) add(4);
    if (s.strikeOut) add(9);
    if (s.color)
        if (const int code = ColourCode(*s.color)) add(code);
    return codes.empty() ? std::string() : "\x1b[" + codes + "m";
}

TerminalAbilities TerminalSink::AbilitiesOf(std::FILE* out) {
    TerminalAbilities abilities;
    if (!IsTerminal(out)) return abilities;
    const std::optional<std::string> noColor = EnvironmentVariable("NO_COLOR");
    const std::optional<std::string> term = EnvironmentVariable("TERM");
    const bool dumb = term && *term == "dumb";
    abilities.colours = !dumb && !(noColor && !noColor->empty());
    abilities.progressLine = true;
    abilities.eraseLine = !dumb;
    abilities.columns = [out] { return TerminalColumns(out); };
    return abilities;
}

void TerminalSink::ShowProgress(const ProgressState& state) {
    if (!abilities_.progressLine) return;
    std::string text = "    " + state.Text();
    if (const std::optional<int> columns = abilities_.columns ? abilities_.columns() : std::nullopt) {
        // The last column is left free: writing into it makes some terminals wrap at once, and a wrapped
        // progress line can no longer be rewritten in place.
        text = std::string(FirstCharacters(text, std::max(*columns - 1, 0)));
    }
    ClearProgress();
    std::fputs(text.c_str(), out_);
    std::fflush(out_);
    progressWidth_ = CountCharacters(text);
    progressShown_ = true;
}

void TerminalSink::EndProgress() {
    ClearProgress();
    std::fflush(out_);
}

void TerminalSink::ClearProgress() {
    if (!progressShown_) return;
    if (abilities_.eraseLine) {
        std::fputs("\r\x1b[K", out_);
    } else {
        std::fputs(("\r" + std::string(static_cast<std::size_t>(progressWidth_), ' ') + "\r").c_str(), out_);
    }
    progressShown_ = false;
}

void TerminalSink::AppendLine(const StyledLine& line) {
    ClearProgress();
    for (const auto& segment : line.segments) {
        std::string style = abilities_.colours ? TerminalStyle(segment.style) : std::string();
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
