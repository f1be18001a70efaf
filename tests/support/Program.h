// SPDX-License-Identifier: GPL-3.0-or-later
// Running a program of the build (calvorin, calvorin-demo, a test's own child) and collecting its output.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/os/PathText.h"

namespace calvorin::test {

struct CommandResult {
    int exitCode = -1;  // -1 when the program could not start, was killed, or ran past its time
    std::string output;
};

enum class Capture { StdoutAndStderr, StdoutOnly };

struct RunOptions {
    Capture capture = Capture::StdoutAndStderr;  // StdoutOnly: standard error goes where the test's goes
    // Variables set for the program alone, in UTF-8; nullopt removes one. The rest is the test's own.
    std::vector<std::pair<std::string, std::optional<std::string>>> environment;
    // A program still running then is killed, and the result's exitCode is -1.
    std::chrono::seconds timeout{600};
};

// Runs `program` with the arguments (UTF-8), no shell between, standard input empty, and waits for it.
// On Windows the arguments are joined into a command line by WindowsCommandLine.
CommandResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                         const RunOptions& options = {});

// Windows only: runs `program` with `commandLine` passed exactly as given (the program's own name comes
// first in it, as Windows programs expect), for the tests of how a program splits its command line.
CommandResult RunWithCommandLine(const std::filesystem::path& program, const std::string& commandLine,
                                 const RunOptions& options = {});

// The words quoted and joined so that CommandLineToArgvW, and the C runtime of every Windows program,
// split them back into the same words: blanks and quotes inside a word, backslashes before a quote.
std::string WindowsCommandLine(const std::vector<std::string>& words);

// The text with each CR LF as LF: Windows' C runtime ends the lines of a text stream with CR LF, where POSIX
// programs write LF alone. A CR on its own stays.
inline std::string LineFeedsOnly(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

// The path of a program of the build: `name` in the build folder, with ".exe" on Windows.
inline std::filesystem::path BuildProgram(const std::string& name) {
    return std::filesystem::path(CALVORIN_BINARY_DIR) / (SystemTakesWindowsPaths() ? name + ".exe" : name);
}

}  // namespace calvorin::test
