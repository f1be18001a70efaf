// SPDX-License-Identifier: GPL-3.0-or-later
// Running the independent programs the tests compare with (php, node, unzip, 7z, python3, openssl) through
// /bin/sh: Linux only, the tests that use them are ...PeersTest.cpp files.
#pragma once

#include <filesystem>
#include <string>

#include "support/Program.h"

namespace calvorin::test {

// Runs the command through /bin/sh and collects what it prints.
inline CommandResult RunCommand(const std::string& command, Capture capture = Capture::StdoutAndStderr) {
    RunOptions options;
    options.capture = capture;
    return RunProgram("/bin/sh", {"-c", command}, options);
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
