// SPDX-License-Identifier: GPL-3.0-or-later
// The log on a terminal: colours and bold where the output is a terminal, plain text elsewhere.
#pragma once

#include <cstdio>
#include <functional>
#include <optional>

#include "plugin/log/Log.h"

namespace calvorin {

// What the stream the log goes to can do.
struct TerminalAbilities {
    bool colours = false;       // the log's colours and bold, as SGR sequences
    bool progressLine = false;  // the progress of a long step as one line rewritten in place
    bool eraseLine = true;      // "\x1b[K" clears a line; a dumb terminal gets blanks instead
    // The terminal's width now, asked at each progress line so that a resize is followed; unset or
    // nullopt: no limit.
    std::function<std::optional<int>()> columns = nullptr;
};

class TerminalSink : public LogSink {
  public:
    explicit TerminalSink(std::FILE* out, TerminalAbilities abilities = {})
        : out_(out), abilities_(std::move(abilities)) {}
    void AppendLine(const StyledLine& line) override;
    void ShowProgress(const ProgressState& state) override;
    void EndProgress() override;

    // What `out` can do: a terminal gets the progress line, and colours unless NO_COLOR is set or TERM
    // is "dumb"; a file or a pipe gets the log's lines alone.
    static TerminalAbilities AbilitiesOf(std::FILE* out);

  private:
    void ClearProgress();

    std::FILE* out_;
    TerminalAbilities abilities_;
    bool progressShown_ = false;
    int progressWidth_ = 0;  // the columns the progress line takes
};

// The SGR sequence for the style, "" for none. Colours are the terminal's own sixteen, chosen to read on
// dark and light backgrounds alike: dark blues, greys and black become the default colour (bold stays
// bold), the rest the nearest of red, green, yellow, magenta and cyan.
std::string TerminalStyle(const LogStyle& style);

}  // namespace calvorin
