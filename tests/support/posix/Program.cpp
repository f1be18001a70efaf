// SPDX-License-Identifier: GPL-3.0-or-later
// A program of a test started with posix_spawn, its output read through a pipe until it ends or its time runs
// out.
#include "support/Program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace calvorin::test {
namespace {

// Closes the descriptor when it goes.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    void Close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
};

// The test's environment with the options' changes: "NAME=value" strings.
std::vector<std::string> ChildEnvironment(const RunOptions& options) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        bool replaced = false;
        for (const auto& change : options.environment) replaced = replaced || change.first == name;
        if (!replaced) entries.push_back(text);
    }
    for (const auto& [name, value] : options.environment)
        if (value) entries.push_back(name + "=" + *value);
    return entries;
}

// Reads everything the program writes until it closes its end or the deadline passes; false on the latter.
bool ReadUntil(int fd, std::chrono::steady_clock::time_point deadline, std::string& output) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
        if (polled < 0 && errno != EINTR) return true;
        if (polled <= 0) continue;
        char buffer[65536];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        output.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace

CommandResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                         const RunOptions& options) {
    CommandResult result;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return result;
    Descriptor reader(ends[0]), writer(ends[1]);
    Descriptor input(::open("/dev/null", O_RDONLY | O_CLOEXEC));

    std::vector<std::string> words = {program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = ChildEnvironment(options);
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input.Get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, writer.Get(), STDOUT_FILENO);
    if (options.capture == Capture::StdoutAndStderr)
        posix_spawn_file_actions_adddup2(&actions, writer.Get(), STDERR_FILENO);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    writer.Close();  // the program holds the only writing end: its end is the pipe's end
    if (spawned != 0) {
        result.output = "cannot start " + program.string() + ": " + std::strerror(spawned);
        return result;
    }

    const auto deadline = std::chrono::steady_clock::now() + options.timeout;
    bool inTime = ReadUntil(reader.Get(), deadline, result.output);
    if (!inTime) ::kill(pid, SIGKILL);
    // A program may close its output and go on: it too is waited for until the deadline only.
    int status = 0;
    for (;;) {
        const pid_t waited = ::waitpid(pid, &status, inTime ? WNOHANG : 0);
        if (waited == pid) break;
        if (waited < 0 && errno != EINTR) return result;
        if (inTime && std::chrono::steady_clock::now() >= deadline) {
            inTime = false;
            ::kill(pid, SIGKILL);
        } else if (inTime) {
            ::usleep(10000);
        }
    }
    result.exitCode = inTime && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace calvorin::test
