// SPDX-License-Identifier: GPL-3.0-or-later
// A Python server run on a loopback port for the length of a test, and a loopback port nothing listens on.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace calvorin::test {

// Runs `python3 <script> --port 0 <arguments>`; the script prints the port it listens on as its first
// line. On Windows the server runs where Python does: a launcher (tests/support/windows/server_launcher.py),
// whose port is in the environment variable CALVORIN_TEST_LAUNCHER, starts it and stops it when the
// test lets go of it, so a Windows test under Wine reaches a server started on the Linux side.
class ServerProcess {
  public:
    // Starts the server and waits until it has printed its port. Throws std::runtime_error when it cannot
    // be started or prints no port.
    ServerProcess(const std::string& script, const std::vector<std::string>& arguments);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int Port() const { return port_; }

  private:
    struct Handle;  // the process (POSIX) or the launcher's connection (Windows)
    std::unique_ptr<Handle> handle_;
    int port_ = 0;
};

// A loopback port that nothing listens on: bound once to get a free number, then released.
int ClosedLoopbackPort();

}  // namespace calvorin::test
