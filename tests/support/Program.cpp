// SPDX-License-Identifier: GPL-3.0-or-later
// The quoting of a Windows command line, the same on both builds.
#include "support/Program.h"

namespace calvorin::test {

std::string WindowsCommandLine(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) line += ' ';
        if (!word.empty() && word.find_first_of(" \t\n\v\"") == std::string::npos) {
            line += word;
            continue;
        }
        // Backslashes are plain unless a quote follows them: then each one is doubled, and the quote
        // itself escaped. The closing quote counts as one.
        line += '"';
        std::size_t backslashes = 0;
        for (char c : word) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            if (c == '"') {
                line.append(2 * backslashes + 1, '\\');
            } else {
                line.append(backslashes, '\\');
            }
            backslashes = 0;
            line += c;
        }
        line.append(2 * backslashes, '\\');
        line += '"';
    }
    return line;
}

}  // namespace calvorin::test
