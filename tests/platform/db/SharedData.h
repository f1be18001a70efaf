// SPDX-License-Identifier: GPL-3.0-or-later
// Where the shared sample databases and the Jet writer live, and running the peer tools on them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "support/Command.h"

namespace calvorin::test {

inline std::filesystem::path SharedDir() {
    return CALVORIN_SHARED_DIR;
}
// The public Access samples kept with the tests.
inline std::filesystem::path AccessSamples() {
    return std::filesystem::path(CALVORIN_SOURCE_DIR) / "tests" / "data" / "access";
}
inline std::filesystem::path JetWriter() {
    return SharedDir() / "tools" / "jetwriter.py";
}

// Runs a shell command and returns its standard output; throws when it fails.
inline std::string OutputOf(const std::string& command) {
    CommandResult result = RunCommand(command, Capture::StdoutOnly);
    if (result.exitCode != 0)
        throw std::runtime_error("command failed (" + std::to_string(result.exitCode) + "): " + command);
    return result.output;
}

// Converts an SQLite file into a Jet 4 .mdb file with the shared Jet writer.
inline void WriteMdbCopy(const std::filesystem::path& sqlite, const std::filesystem::path& mdb) {
    OutputOf("python3 " + ShellQuote(JetWriter()) + " " + ShellQuote(sqlite) + " " + ShellQuote(mdb) +
             " >/dev/null");
}

}  // namespace calvorin::test

// Skips the current test when the shared test data is absent.
#define CALVORIN_REQUIRE_SHARED_DATA()                                                         \
    do {                                                                                       \
        if (!std::filesystem::exists(::calvorin::test::AccessSamples()))                       \
            GTEST_SKIP() << "shared test data not found at " << ::calvorin::test::SharedDir(); \
    } while (0)
