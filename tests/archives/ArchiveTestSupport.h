// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the archive tests: running the peer tools (unzip, 7z, python3) and reading ZIP fields.
#pragma once

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace calvorin::test {

struct CommandResult {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

// Quotes a text for /bin/sh.
inline std::string ShellQuote(std::string_view text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs a shell command and collects its output and exit code.
inline CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
    int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline bool ToolAvailable(const std::string& tool) {
    return RunCommand("command -v " + ShellQuote(tool) + " >/dev/null").exitCode == 0;
}

inline std::uint16_t Le16At(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

inline std::uint32_t Le32At(std::string_view bytes, std::size_t at) {
    return Le16At(bytes, at) | (static_cast<std::uint32_t>(Le16At(bytes, at + 2)) << 16);
}

// A deterministic, moderately compressible text of `size` bytes.
inline std::string SampleText(std::size_t size, unsigned seed = 1) {
    std::string out;
    out.reserve(size);
    std::uint32_t state = seed;
    while (out.size() < size) {
        state = state * 1664525u + 1013904223u;
        out += "riga " + std::to_string(state % 1000) + " giocatore;";
    }
    out.resize(size);
    return out;
}

}  // namespace calvorin::test
