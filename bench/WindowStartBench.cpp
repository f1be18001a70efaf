// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up benchmark: Calvorin's window from process start to its first paint, against an empty Qt dialog
// of the same size built alongside (bare-window). Both run offscreen and quit at their first paint; the
// figure is the median wall time of many runs, the ratio ours / bare.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 15;

double RunOnce(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (status != 0) std::printf("  exited with %d: %s\n", status, command.c_str());
    return ms;
}

double Median(const std::string& command) {
    std::vector<double> times;
    RunOnce(command);  // warms the caches
    for (int i = 0; i < kRuns; ++i) times.push_back(RunOnce(command));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string Output(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
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
    const double bare = Median(env + CALVORIN_BARE_WINDOW_PATH);
    const double ours = Median(env + "CALVORIN_QUIT_AT_FIRST_PAINT=1 " + CALVORIN_PATH + " " + arguments);
    std::printf("first paint, median of %d runs, offscreen:\n", kRuns);
    std::printf("  bare Qt dialog, same size  %7.1f ms\n", bare);
    std::printf("  Calvorin's window          %7.1f ms  (%.2fx the bare dialog, target <= 1.5)\n", ours,
                ours / bare);
    fs::remove_all(root);
    return 0;
}
