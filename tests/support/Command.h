// SPDX-License-Identifier: GPL-3.0-or-later
// Running the independent programs the tests compare with (php, node, unzip, 7z, python3, openssl).
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace calvorin::test {

struct CommandResult {
    int exitCode = -1;  // -1 when the command could not run or was killed
    std::string output;
};

enum class Capture { StdoutAndStderr, StdoutOnly };

// Runs the command through /bin/sh and collects what it prints.
inline CommandResult RunCommand(const std::string& command, Capture capture = Capture::StdoutAndStderr) {
    CommandResult result;
    std::string line = capture == Capture::StdoutAndStderr ? command + " 2>&1" : command;
    FILE* pipe = ::popen(line.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, n);
    int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// Quotes a path or any text for /bin/sh.
inline std::string ShellQuote(const std::filesystem::path& text) {
    std::string out = "'";
    for (char c : text.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// True when the program is on the PATH.
inline bool HaveProgram(const std::string& name) {
    return RunCommand("command -v " + ShellQuote(name) + " >/dev/null").exitCode == 0;
}

}  // namespace calvorin::test
