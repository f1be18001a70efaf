// SPDX-License-Identifier: GPL-3.0-or-later
// Runs tools/orari-server on a free loopback port for the length of a test, and finds a closed port.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace calvorin::test {

class OrariServer {
  public:
    // Starts the server with these extra arguments and waits until it has printed its port. Throws
    // std::runtime_error when python3 or the script cannot be started.
    explicit OrariServer(std::vector<std::string> arguments = {}) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
        Spawn(arguments, pipeEnds[1]);
        ::close(pipeEnds[1]);
        port_ = ReadPort(pipeEnds[0]);
        ::close(pipeEnds[0]);
        if (port_ == 0) {
            Stop();
            throw std::runtime_error("the test server did not start");
        }
    }
    ~OrariServer() { Stop(); }
    OrariServer(const OrariServer&) = delete;
    OrariServer& operator=(const OrariServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by the path, which starts with "/".
    std::string Url(const std::string& path, const std::string& scheme = "http") const {
        return scheme + "://127.0.0.1:" + std::to_string(port_) + path;
    }

    static std::string Script() { return CALVORIN_SOURCE_DIR "/tools/orari-server/orari_server.py"; }

  private:
    void Stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    void Spawn(const std::vector<std::string>& arguments, int stdoutEnd) {
        std::vector<std::string> words = {"python3", Script(), "--port", "0"};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, stdoutEnd, STDOUT_FILENO);
        int rc = ::posix_spawnp(&pid_, "python3", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) throw std::runtime_error("cannot start python3");
    }

    static int ReadPort(int fd) {
        std::string line;
        char c;
        while (::read(fd, &c, 1) == 1 && c != '\n') line += c;
        return line.empty() ? 0 : std::atoi(line.c_str());
    }

    pid_t pid_ = -1;
    int port_ = 0;
};

// A loopback port that nothing listens on: bound once to get a free number, then released.
inline int ClosedLoopbackPort() {
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

// Every byte but letters and digits as "%XX", for a text carried in a path of the server's URLs.
inline std::string PercentEncoded(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        out += std::isalnum(c) ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return out;
}

}  // namespace calvorin::test
