// SPDX-License-Identifier: GPL-3.0-or-later
// Where the shared sample databases and the Jet writer live, and running the peer tools on them.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace calvorin::test {

inline std::filesystem::path SharedDir() {
    return CALVORIN_SHARED_DIR;
}
inline std::filesystem::path AccessSamples() {
    return SharedDir() / "data" / "access";
}
inline std::filesystem::path JetWriter() {
    return SharedDir() / "tools" / "jetwriter.py";
}

// Quotes a path or argument for the shell.
inline std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs a shell command and returns what it printed; throws when it fails.
inline std::string RunCommand(const std::string& command) {
    struct Closer {
        void operator()(FILE* f) const { pclose(f); }
    };
    FILE* raw = popen(command.c_str(), "r");
    if (!raw) throw std::runtime_error("popen failed: " + command);
    std::unique_ptr<FILE, Closer> pipe(raw);
    std::string out;
    std::array<char, 65536> buffer{};
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0;)
        out.append(buffer.data(), n);
    const int status = pclose(pipe.release());
    if (status != 0) throw std::runtime_error("command failed (" + std::to_string(status) + "): " + command);
    return out;
}

// Converts an SQLite file into a Jet 4 .mdb file with the shared Jet writer.
inline void WriteMdbCopy(const std::filesystem::path& sqlite, const std::filesystem::path& mdb) {
    RunCommand("python3 " + ShellQuoted(JetWriter().string()) + " " + ShellQuoted(sqlite.string()) + " " +
               ShellQuoted(mdb.string()) + " >/dev/null");
}

}  // namespace calvorin::test

// Skips the current test when the shared test data is absent.
#define CALVORIN_REQUIRE_SHARED_DATA()                                                         \
    do {                                                                                       \
        if (!std::filesystem::exists(::calvorin::test::AccessSamples()))                       \
            GTEST_SKIP() << "shared test data not found at " << ::calvorin::test::SharedDir(); \
    } while (0)
