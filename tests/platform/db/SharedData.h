// SPDX-License-Identifier: GPL-3.0-or-later
// Where the Access samples live, running the peer tools on them, and making Access test files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "support/Command.h"
#include "tools/demo/SqliteToMdb.h"

namespace calvorin::test {

// The public Access samples kept with the tests.
inline std::filesystem::path AccessSamples() {
    return std::filesystem::path(CALVORIN_SOURCE_DIR) / "tests" / "data" / "access";
}

// Runs a shell command and returns its standard output; throws when it fails.
inline std::string OutputOf(const std::string& command) {
    CommandResult result = RunCommand(command, Capture::StdoutOnly);
    if (result.exitCode != 0)
        throw std::runtime_error("command failed (" + std::to_string(result.exitCode) + "): " + command);
    return result.output;
}

// Converts an SQLite file into a Jet 4 .mdb file with the demo tool's Jet writer.
inline void WriteMdbCopy(const std::filesystem::path& sqlite, const std::filesystem::path& mdb) {
    demo::CopySqliteToMdb(sqlite, mdb);
}

}  // namespace calvorin::test
