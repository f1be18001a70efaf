// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a shell command for tests that check our output against an independent program.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace calvorin::test {

struct CommandResult {
    int exitCode = -1;
    std::string output;  // standard output, bytes as written
};

inline CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.output.append(buffer, n);
    int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// True when the program can be found on PATH.
inline bool HasProgram(const std::string& name) {
    return RunCommand("command -v " + name + " >/dev/null 2>&1").exitCode == 0;
}

}  // namespace calvorin::test
