// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/Process.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "platform/os/StopRequest.h"

namespace calvorin {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

std::filesystem::path ProgramPath() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec);
}

std::optional<std::string> EnvironmentVariable(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

void UseParentConsole() {}

bool IsTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) != 0;
}

std::optional<int> TerminalColumns(std::FILE* stream) {
    struct winsize size {};
    if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return std::nullopt;
    return size.ws_col;
}

namespace {

StopRequest* stopOnSignal = nullptr;

void RequestStop(int signal) {
    if (stopOnSignal) stopOnSignal->Request(signal == SIGINT ? StopCause::Interrupt : StopCause::Terminate);
}

}  // namespace

void StopOnInterruption(StopRequest& stop) {
    stopOnSignal = &stop;
    struct sigaction action = {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    // Reads and writes go on after the handler; the default comes back for a second signal.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

}  // namespace calvorin
