// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up benchmark: Calvorin's window from process start to its first paint, against an empty Qt dialog
// of the same size built alongside (bare-window). All run offscreen, print when their first paint was done
// and quit; each figure is the median of many runs, each ratio a program's time over the empty dialog's.
// The time to the end of the process is shown too: the empty dialog starts fontconfig only when it is torn
// down. Two more floors show where the time goes: the same dialog with one label (what any text costs) and
// with the kinds of widgets our window opens with but no program behind them.
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

// The programs run in turn, round after round, so that a busier moment of the machine weighs on all alike.
std::vector<Run> Medians(const std::vector<std::string>& commands) {
    const std::size_t count = commands.size();
    std::vector<std::vector<double>> paints(count), exits(count);
    for (const std::string& command : commands) RunOnce(command);  // warms the caches
    for (int i = 0; i < kRuns; ++i)
        for (std::size_t c = 0; c < count; ++c) {
            const Run run = RunOnce(commands[c]);
            paints[c].push_back(run.firstPaintMs);
            exits[c].push_back(run.exitMs);
        }
    std::vector<Run> medians;
    for (std::size_t c = 0; c < count; ++c) {
        std::sort(paints[c].begin(), paints[c].end());
        std::sort(exits[c].begin(), exits[c].end());
        medians.push_back({paints[c][kRuns / 2], exits[c][kRuns / 2]});
    }
    return medians;
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
    const std::string bareWindow = env + CALVORIN_BARE_WINDOW_PATH;
    const char* const what[] = {"empty Qt dialog, same size", "the dialog with one label",
                                "the dialog with our widgets only", "Calvorin's window"};
    const std::vector<Run> runs =
        Medians({bareWindow, bareWindow + " --text", bareWindow + " --widgets",
                 env + "CALVORIN_QUIT_AT_FIRST_PAINT=1 " + CALVORIN_PATH + " " + arguments});
    const Run& bare = runs.front();
    const Run& ours = runs.back();
    std::printf("median of %d runs each, in turn, offscreen:  first paint         process end\n", kRuns);
    for (std::size_t i = 0; i < runs.size(); ++i)
        std::printf("  %-34s %7.1f ms %5.2fx   %7.1f ms %5.2fx\n", what[i], runs[i].firstPaintMs,
                    runs[i].firstPaintMs / bare.firstPaintMs, runs[i].exitMs, runs[i].exitMs / bare.exitMs);
    std::printf("  ratio to first paint: %.2fx (target <= 1.5); to process end: %.2fx\n",
                ours.firstPaintMs / bare.firstPaintMs, ours.exitMs / bare.exitMs);
    const Run& widgets = runs[2];
    std::printf("  our own share, over the widgets alone: %.2fx to first paint, %.2fx to process end\n",
                ours.firstPaintMs / widgets.firstPaintMs, ours.exitMs / widgets.exitMs);
    fs::remove_all(root);
    return 0;
}
