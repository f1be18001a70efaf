// SPDX-License-Identifier: GPL-3.0-or-later
// The server of a test as a child process, stopped with SIGTERM.
#include "support/ServerProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace calvorin::test {
namespace {

pid_t Spawn(const std::string& script, const std::vector<std::string>& arguments, int stdoutEnd) {
    std::vector<std::string> words = {"python3", script, "--port", "0"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, stdoutEnd, STDOUT_FILENO);
    pid_t pid = -1;
    int rc = ::posix_spawnp(&pid, "python3", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start python3");
    return pid;
}

int ReadPort(int fd) {
    std::string line;
    char c;
    while (::read(fd, &c, 1) == 1 && c != '\n') line += c;
    return line.empty() ? 0 : std::atoi(line.c_str());
}

}  // namespace

struct ServerProcess::Handle {
    pid_t pid = -1;
    ~Handle() {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
};

ServerProcess::ServerProcess(const std::string& script, const std::vector<std::string>& arguments)
    : handle_(std::make_unique<Handle>()) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
    try {
        handle_->pid = Spawn(script, arguments, pipeEnds[1]);
    } catch (...) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        throw;
    }
    ::close(pipeEnds[1]);
    port_ = ReadPort(pipeEnds[0]);
    ::close(pipeEnds[0]);
    if (port_ == 0) throw std::runtime_error("the test server did not start");
}

ServerProcess::~ServerProcess() = default;

int ClosedLoopbackPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

}  // namespace calvorin::test
