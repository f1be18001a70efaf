// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/posix/WineSession.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace calvorin::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::optional<fs::path> FindWine() {
    std::vector<fs::path> candidates;
    if (const char* path = std::getenv("PATH")) {
        std::stringstream folders(path);
        for (std::string folder; std::getline(folders, folder, ':');)
            if (!folder.empty()) candidates.push_back(fs::path(folder) / "wine64");
    }
    candidates.emplace_back("/usr/lib/wine/wine64");  // where Debian keeps it, off the PATH
    for (const auto& candidate : candidates)
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    return std::nullopt;
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The name of a process, readable even once it has ended and is not reaped yet ("" when unknown).
std::string ProcessName(pid_t pid) {
    std::string name = ReadText("/proc/" + std::to_string(pid) + "/comm");
    if (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
}

int StatusCode(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

// Reaps every ended child (and orphan handed to this subreaper) until `done` returns true or the deadline.
template <typename Done>
void ReapUntil(std::chrono::steady_clock::time_point deadline, Done&& done) {
    while (std::chrono::steady_clock::now() < deadline) {
        siginfo_t info{};
        if (::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0) return;  // no child left
        if (info.si_pid == 0) {
            std::this_thread::sleep_for(20ms);
            continue;
        }
        const pid_t pid = info.si_pid;
        const std::string name = ProcessName(pid);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (done(pid, name, StatusCode(status))) return;
    }
}

// A native program still running at the deadline (waiting on a dialog, say) is this process's child by
// now: it is stopped rather than left behind.
void StopNative(const std::string& nativeName) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        const std::string number = entry.path().filename().string();
        pid_t pid = 0;
        if (std::from_chars(number.data(), number.data() + number.size(), pid).ec != std::errc()) continue;
        const std::string status = ReadText(entry.path() / "status");
        const bool ours = status.find("\nPPid:\t" + std::to_string(::getpid()) + "\n") != std::string::npos;
        if (ours && ProcessName(pid) == nativeName) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
}

}  // namespace

WineSession::WineSession() {
    // Wine starts a native program in a double fork and keeps no handle to it: the program is re-parented
    // to the nearest subreaper, which this process becomes to learn its exit code.
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    wine_ = FindWine();
    if (!wine_) {
        problem_ = "wine64 non trovato (né sul PATH né in /usr/lib/wine): installare wine64 (tools/setup.sh)";
        return;
    }
    prefix_ = std::make_unique<TempDir>();
    WineRun boot = Run({"wineboot", "-i"}, {}, std::nullopt);
    if (boot.wineCode != 0 || !fs::exists(Prefix() / "dosdevices" / "c:"))
        problem_ = "wineboot non riuscito:\n" + boot.output;
}

WineSession::~WineSession() {
    if (!wine_ || !prefix_) return;
    const fs::path server = wine_->parent_path() / "wineserver";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("WINEPREFIX", Prefix().c_str(), 1);
        ::execl(server.c_str(), server.c_str(), "-k", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ReapUntil(std::chrono::steady_clock::now() + 10s, [](pid_t, const std::string&, int) { return false; });
}

WineRun WineSession::Run(const std::vector<std::string>& windowsCommand, const Environment& environment,
                         const std::optional<std::string>& nativeName) const {
    // Windows programs that ended under an earlier run may be left to this subreaper unreaped; one named
    // as the native program awaited now would pass for it.
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    WineRun run;
    const fs::path log = Prefix() / "run.log";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("WINEPREFIX", Prefix().c_str(), 1);
        ::setenv("WINEDEBUG", "-all", 1);
        ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);  // no offer to install Mono or Gecko
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        ::unsetenv("QT_QPA_PLATFORM");
        for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (out < 0 || in < 0) ::_exit(126);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        std::vector<std::string> words = {wine_->string()};
        words.insert(words.end(), windowsCommand.begin(), windowsCommand.end());
        std::vector<char*> argv;
        argv.reserve(words.size() + 1);
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (pid < 0) return run;
    bool wineDone = false;
    ReapUntil(std::chrono::steady_clock::now() + 90s, [&](pid_t reaped, const std::string& name, int code) {
        if (reaped == pid) {
            run.wineCode = code;
            wineDone = true;
        } else if (nativeName && name == *nativeName) {
            run.nativeCode = code;
        }
        // The stand-in reports a failed start: no native program will come.
        return wineDone && (!nativeName || run.nativeCode || run.wineCode != 0);
    });
    if (!wineDone) ::kill(pid, SIGKILL);
    if (nativeName && !run.nativeCode) StopNative(*nativeName);
    run.output = ReadText(log);
    return run;
}

VirtualDisplay::VirtualDisplay() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "1024x768x24",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    // Xvfb writes the number, then a line feed: the pipe stays open until the line feed has come, or the
    // server, failing to write it, would end.
    std::string number;
    char c = 0;
    while (pid_ > 0 && number.size() < 16) {
        const ssize_t n = ::read(fds[0], &c, 1);
        if (n < 0 && errno == EINTR) continue;  // the test reaps orphans: a child ending elsewhere
        if (n <= 0 || c == '\n') break;
        number += c;
    }
    ::close(fds[0]);
    if (c == '\n' && !number.empty()) display_ = ":" + number;
}

VirtualDisplay::~VirtualDisplay() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
}

}  // namespace calvorin::test
