// SPDX-License-Identifier: GPL-3.0-or-later
// Runs tools/orari-server on a free loopback port for the length of a test, and finds a closed port.
#pragma once

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "support/ServerProcess.h"

namespace calvorin::test {

class OrariServer {
  public:
    // Starts the server with these extra arguments and waits until it has printed its port. Throws
    // std::runtime_error when python3 or the script cannot be started.
    explicit OrariServer(std::vector<std::string> arguments = {}) : process_(Script(), arguments) {}

    int Port() const { return process_.Port(); }
    // "http://127.0.0.1:<port>" followed by the path, which starts with "/".
    std::string Url(const std::string& path, const std::string& scheme = "http") const {
        return scheme + "://127.0.0.1:" + std::to_string(Port()) + path;
    }

    static std::string Script() { return CALVORIN_SOURCE_DIR "/tools/orari-server/orari_server.py"; }

  private:
    ServerProcess process_;
};

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
