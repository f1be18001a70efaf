// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/posix/RunningProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace calvorin::test {

RunningProgram::RunningProgram(
    const std::filesystem::path& program, const std::vector<std::string>& arguments,
    const std::vector<std::pair<std::string, std::optional<std::string>>>& environment) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const auto& [name, value] : environment) replaced |= entry.starts_with(name + "=");
        if (!replaced) env.push_back(entry);
    }
    for (const auto& [name, value] : environment)
        if (value) env.push_back(name + "=" + *value);
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv, envp;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    const int error = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    fd_ = fds[0];
    if (error != 0) {
        pid_ = -1;
        throw std::runtime_error("posix_spawn: " + program.string());
    }
}

RunningProgram::~RunningProgram() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (fd_ >= 0) ::close(fd_);
}

bool RunningProgram::ReadSome(std::chrono::steady_clock::time_point until) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (left.count() <= 0 || fd_ < 0) return false;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
        return true;  // nothing yet: the caller looks at the clock
    char buffer[4096];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n <= 0) return false;
    output_.append(buffer, static_cast<std::size_t>(n));
    return true;
}

bool RunningProgram::WaitForOutput(const std::string& text, std::chrono::seconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (output_.find(text) == std::string::npos)
        if (!ReadSome(until)) return false;
    return true;
}

void RunningProgram::Send(Stop signal) const {
    if (pid_ > 0) ::kill(pid_, signal == Stop::Interrupt ? SIGINT : SIGTERM);
}

int RunningProgram::Wait(std::chrono::seconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (ReadSome(until)) {
    }
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= until) return -1;  // killed by the destructor
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace calvorin::test
