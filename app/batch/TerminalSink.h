// SPDX-License-Identifier: GPL-3.0-or-later
// The log on a terminal: ANSI colours and bold where the output is a terminal, plain text elsewhere.
#pragma once

#include <cstdio>

#include "plugin/log/Log.h"

namespace calvorin {

class TerminalSink : public LogSink {
  public:
    // Colours are used when `colours` is true (see ColoursWanted); the progress of a long step shows as
    // one line rewritten in place when `progressLine` is true (see IsTerminal), and not at all otherwise,
    // so that a log sent to a file or a pipe holds only the log's lines.
    TerminalSink(std::FILE* out, bool colours, bool progressLine = false)
        : out_(out), colours_(colours), progressLine_(progressLine) {}
    void AppendLine(const StyledLine& line) override;
    void ShowProgress(const ProgressState& state) override;
    void EndProgress() override;

    // True when the stream is a terminal and NO_COLOR is not set.
    static bool ColoursWanted(std::FILE* out);
    static bool IsTerminal(std::FILE* out);

  private:
    void ClearProgress();

    std::FILE* out_;
    bool colours_;
    bool progressLine_;
    bool progressShown_ = false;
};

}  // namespace calvorin
