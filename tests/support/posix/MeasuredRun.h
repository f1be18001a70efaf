// SPDX-License-Identifier: GPL-3.0-or-later
// A program run to its end with what it cost: wall time, CPU time and peak memory, for benchmarks.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace calvorin::test {

struct MeasuredRun {
    double wall = 0, cpu = 0;  // seconds; CPU is user and system time of the program and its children
    long peakKiB = 0;          // peak resident memory
    int exitCode = -1;         // -1 when it did not end by itself
};

// Runs `arguments` (the program looked up on the PATH) in `folder` with extra environment variables,
// its output thrown away, and waits for it.
MeasuredRun RunMeasured(const std::vector<std::string>& arguments, const std::filesystem::path& folder,
                        const std::vector<std::pair<std::string, std::string>>& environment = {});

}  // namespace calvorin::test
