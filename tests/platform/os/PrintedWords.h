// SPDX-License-Identifier: GPL-3.0-or-later
// What print-arguments printed: its lines, each argument framed in brackets.
#pragma once

#include <string>
#include <vector>

#include "support/Program.h"

namespace calvorin::test {

// The lines of the output, without their line ends.
inline std::vector<std::string> PrintedLines(const std::string& output) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : LineFeedsOnly(output)) {
        if (c != '\n') {
            line += c;
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    return lines;
}

// The lines print-arguments prints for these words.
inline std::vector<std::string> Framed(const std::vector<std::string>& words) {
    std::vector<std::string> lines;
    for (const std::string& word : words) lines.push_back("[" + word + "]");
    return lines;
}

}  // namespace calvorin::test
