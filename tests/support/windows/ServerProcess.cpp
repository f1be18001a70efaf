// SPDX-License-Identifier: GPL-3.0-or-later
// The server of a test started by the launcher on the other end of a loopback connection, stopped when the
// connection closes.
#include "support/ServerProcess.h"

#include <winsock2.h>

#include <cstdlib>
#include <stdexcept>

namespace calvorin::test {
namespace {

class Winsock {
  public:
    Winsock() {
        WSADATA data;
        if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
    }
    ~Winsock() { ::WSACleanup(); }
    Winsock(const Winsock&) = delete;
    Winsock& operator=(const Winsock&) = delete;
};

class Socket {
  public:
    Socket() : socket_(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
        if (socket_ == INVALID_SOCKET) throw std::runtime_error("socket failed");
    }
    ~Socket() { ::closesocket(socket_); }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET get() const { return socket_; }

  private:
    SOCKET socket_;
};

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    return address;
}

int LauncherPort() {
    const char* text = std::getenv("CALVORIN_TEST_LAUNCHER");
    int port = text ? std::atoi(text) : 0;
    if (port <= 0 || port > 65535)
        throw std::runtime_error(
            "CALVORIN_TEST_LAUNCHER does not name the port of tests/support/windows/server_launcher.py");
    return port;
}

// Asks the launcher for the server over `s`; the port it says, 0 when the server said none.
int Launch(SOCKET s, const std::string& script, const std::vector<std::string>& arguments) {
    sockaddr_in address = Loopback(LauncherPort());
    if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("cannot reach the server launcher");
    // One line: the script and its arguments, separated by tabs.
    std::string request = script;
    for (const std::string& argument : arguments) request += "\t" + argument;
    request += "\n";
    for (std::size_t sent = 0; sent < request.size();) {
        int n = ::send(s, request.data() + sent, static_cast<int>(request.size() - sent), 0);
        if (n <= 0) throw std::runtime_error("cannot talk to the server launcher");
        sent += static_cast<std::size_t>(n);
    }
    std::string line;
    char c;
    while (line.size() < 16 && ::recv(s, &c, 1, 0) == 1 && c != '\n') line += c;
    return std::atoi(line.c_str());
}

}  // namespace

struct ServerProcess::Handle {
    Winsock winsock;
    Socket launcher;
};

ServerProcess::ServerProcess(const std::string& script, const std::vector<std::string>& arguments) {
    // Once, on a loaded machine, no port came back and the server left no trace: the launcher is asked
    // again, and only the third such answer fails the test.
    for (int attempt = 1;; ++attempt) {
        handle_ = std::make_unique<Handle>();
        port_ = Launch(handle_->launcher.get(), script, arguments);
        if (port_ > 0) return;
        if (attempt == 3) throw std::runtime_error("the test server did not start");
    }
}

ServerProcess::~ServerProcess() = default;

int ClosedLoopbackPort() {
    Winsock winsock;
    Socket socket;
    sockaddr_in address = Loopback(0);
    int size = sizeof address;
    if (::bind(socket.get(), reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::getsockname(socket.get(), reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("cannot find a free loopback port");
    return ntohs(address.sin_port);
}

}  // namespace calvorin::test
