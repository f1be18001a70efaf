// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/posix/PseudoTerminal.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace calvorin::test {
namespace {

[[noreturn]] void Fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
    controller_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (controller_ < 0) Fail("posix_openpt");
    if (::grantpt(controller_) != 0 || ::unlockpt(controller_) != 0) Fail("grantpt");
    const char* name = ::ptsname(controller_);
    if (!name) Fail("ptsname");
    const int terminal = ::open(name, O_RDWR | O_NOCTTY);
    if (terminal < 0) Fail("open pts");
    // Raw: what the program writes arrives as written, line feeds not turned into CR LF.
    termios mode{};
    ::tcgetattr(terminal, &mode);
    ::cfmakeraw(&mode);
    ::tcsetattr(terminal, TCSANOW, &mode);
    stream_ = ::fdopen(terminal, "w");
    if (!stream_) {
        ::close(terminal);
        Fail("fdopen");
    }
    SetColumns(80);
}

PseudoTerminal::~PseudoTerminal() {
    if (stream_) std::fclose(stream_);
    if (controller_ >= 0) ::close(controller_);
}

void PseudoTerminal::SetColumns(int columns) {
    winsize size{};
    size.ws_row = 24;
    size.ws_col = static_cast<unsigned short>(columns);
    if (::ioctl(::fileno(stream_), TIOCSWINSZ, &size) != 0) Fail("TIOCSWINSZ");
}

std::string PseudoTerminal::ReadAvailable() {
    std::fflush(stream_);
    std::string out;
    char buffer[4096];
    pollfd ready{controller_, POLLIN, 0};
    while (::poll(&ready, 1, 50) > 0 && (ready.revents & POLLIN)) {
        const ssize_t got = ::read(controller_, buffer, sizeof buffer);
        if (got <= 0) break;
        out.append(buffer, static_cast<std::size_t>(got));
    }
    return out;
}

}  // namespace calvorin::test
