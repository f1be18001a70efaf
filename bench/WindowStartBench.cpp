// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up benchmark: Calvorin's window from process start to its first paint, against an empty Qt dialog
// of the same size built alongside (bare-window). Both run offscreen, print when their first paint was
// done and quit; the figure is the median of many runs, the ratio ours / bare. The time to the end of the
// process is shown too: the bare dialog starts fontconfig only when it is torn down.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 21;

struct Run {
    double firstPaintMs;
    double exitMs;
};

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string Output(const std::string& command, int* status = nullptr) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        int code = ::pclose(pipe);
        if (status) *status = code;
    }
    return out;
}

// The first paint as the program reports it, on the same monotonic clock; a run that reports none
// counts as its whole length, so a broken hook cannot make the figure look better.
Run RunOnce(const std::string& command) {
    const long long start = NowNs();
    int status = -1;
    const std::string out = Output(command, &status);
    const long long end = NowNs();
    if (status != 0) std::printf("  exited with %d: %s\n", status, command.c_str());
    long long painted = end;
    if (auto at = out.find("first-paint-ns "); at != std::string::npos)
        painted = std::clamp(std::atoll(out.c_str() + at + 15), start, end);
    else
        std::printf("  no first paint reported: %s\n", command.c_str());
    return {static_cast<double>(painted - start) / 1e6, static_cast<double>(end - start) / 1e6};
}

Run Median(const std::string& command) {
    std::vector<double> paints, exits;
    RunOnce(command);  // warms the caches
    for (int i = 0; i < kRuns; ++i) {
        const Run run = RunOnce(command);
        paints.push_back(run.firstPaintMs);
        exits.push_back(run.exitMs);
    }
    std::sort(paints.begin(), paints.end());
    std::sort(exits.begin(), exits.end());
    return {paints[paints.size() / 2], exits[exits.size() / 2]};
}

}  // namespace

int main() {
    const fs::path root = fs::temp_directory_path() / "calvorin-window-bench";
    fs::remove_all(root);
    fs::create_directories(root);
    fs::permissions(root, fs::perms::owner_all);  // Qt wants its runtime folder private
    std::string arguments = Output(std::string(CALVORIN_DEMO_PATH) + " " + (root / "demo").string());
    arguments = arguments.substr(arguments.rfind("/l="));
    arguments.erase(arguments.find_last_not_of("\r\n") + 1);
    const std::string env = "QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=" + root.string() + " ";
    const Run bare = Median(env + CALVORIN_BARE_WINDOW_PATH);
    const Run ours = Median(env + "CALVORIN_QUIT_AT_FIRST_PAINT=1 " + CALVORIN_PATH + " " + arguments);
    std::printf("median of %d runs, offscreen:        first paint    process end\n", kRuns);
    std::printf("  bare Qt dialog, same size           %7.1f ms     %7.1f ms\n", bare.firstPaintMs,
                bare.exitMs);
    std::printf("  Calvorin's window                   %7.1f ms     %7.1f ms\n", ours.firstPaintMs,
                ours.exitMs);
    std::printf("  ratio to first paint: %.2fx (target <= 1.5); to process end: %.2fx\n",
                ours.firstPaintMs / bare.firstPaintMs, ours.exitMs / bare.exitMs);
    fs::remove_all(root);
    return 0;
}
