// SPDX-License-Identifier: GPL-3.0-or-later
// The log on a terminal: ANSI colours and bold where the output is a terminal, plain text elsewhere.
#pragma once

#include <cstdio>

#include "plugin/log/Log.h"

namespace calvorin {

class TerminalSink : public LogSink {
  public:
    // Colours are used when `colours` is true; see ColoursWanted.
    TerminalSink(std::FILE* out, bool colours) : out_(out), colours_(colours) {}
    void AppendLine(const StyledLine& line) override;

    // True when the stream is a terminal and NO_COLOR is not set.
    static bool ColoursWanted(std::FILE* out);

  private:
    std::FILE* out_;
    bool colours_;
};

}  // namespace calvorin
