// SPDX-License-Identifier: GPL-3.0-or-later
// Running the real consumers of the generated files (node, php) from tests.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace calvorin::test {

struct CommandResult {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

// Runs a shell command and returns its exit code and output.
inline CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// True when the program is on the PATH.
inline bool HaveProgram(const std::string& name) {
    return RunCommand("command -v " + name + " >/dev/null").exitCode == 0;
}

// Quotes a path for the shell.
inline std::string ShellQuote(const std::filesystem::path& path) {
    std::string out = "'";
    for (char c : path.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

}  // namespace calvorin::test
