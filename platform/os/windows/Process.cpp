// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/Process.h"

#include <windows.h>
// After windows.h, which they need.
#include <io.h>
#include <shellapi.h>

#include <atomic>
#include <memory>

#include "platform/os/StopRequest.h"
#include "platform/os/windows/WideText.h"

namespace calvorin {
namespace {

bool Usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

HANDLE HandleOf(std::FILE* stream) {
    const int fd = ::_fileno(stream);
    // The C runtime hands the handle back as an integer.
    return fd < 0 ? INVALID_HANDLE_VALUE
                  : reinterpret_cast<HANDLE>(::_get_osfhandle(fd));  // NOLINT(performance-no-int-to-ptr)
}

void EnableColourSequences(std::FILE* stream) {
    const HANDLE handle = HandleOf(stream);
    DWORD mode = 0;
    if (Usable(handle) && ::GetConsoleMode(handle, &mode))
        ::SetConsoleMode(handle, mode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

}  // namespace

std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    const std::unique_ptr<wchar_t*, decltype(&::LocalFree)> words(
        ::CommandLineToArgvW(::GetCommandLineW(), &count), &::LocalFree);
    std::vector<std::string> arguments;
    for (int i = 1; words && i < count; ++i) arguments.push_back(WideToUtf8(words.get()[i]));
    return arguments;
}

std::filesystem::path ProgramPath() {
    // Long paths may exceed MAX_PATH: grow the buffer until the name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 6; ++attempt) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 4);
    }
    return {};
}

std::optional<std::string> EnvironmentVariable(std::string_view name) {
    const std::wstring wideName = Utf8ToWide(name);
    std::wstring value(256, L'\0');
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD length =
            ::GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        if (length < value.size()) {
            value.resize(length);
            return WideToUtf8(value);
        }
        value.resize(length);  // the size asked for, its final null included
    }
}

bool HasDisplay() {
    return true;
}

void UseParentConsole() {
    // A program built for the window starts without a console. Streams the parent redirected (to a file
    // or a pipe) are kept; only missing ones are taken from the parent's console, when it has one.
    const bool outMissing = !Usable(::GetStdHandle(STD_OUTPUT_HANDLE));
    const bool errMissing = !Usable(::GetStdHandle(STD_ERROR_HANDLE));
    if ((outMissing || errMissing) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::FILE* ignored = nullptr;
        if (outMissing) ignored = std::freopen("CONOUT$", "w", stdout);
        if (errMissing) ignored = std::freopen("CONOUT$", "w", stderr);
        (void)ignored;
    }
    // The log is UTF-8 and coloured with the sequences every Windows 10 console understands.
    ::SetConsoleOutputCP(CP_UTF8);
    EnableColourSequences(stdout);
    EnableColourSequences(stderr);
}

bool IsTerminal(std::FILE* stream) {
    const HANDLE handle = HandleOf(stream);
    DWORD mode = 0;
    return Usable(handle) && ::GetConsoleMode(handle, &mode) &&
           (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

std::optional<int> TerminalColumns(std::FILE* stream) {
    const HANDLE handle = HandleOf(stream);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!Usable(handle) || !::GetConsoleScreenBufferInfo(handle, &info)) return std::nullopt;
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    return columns > 0 ? std::optional<int>(columns) : std::nullopt;
}

namespace {

StopRequest* stopOnEvent = nullptr;
std::atomic<bool> stopAsked{false};

// Runs on a thread of its own that the system starts for each event.
BOOL WINAPI RequestStop(DWORD event) {
    if (!stopOnEvent || stopAsked.exchange(true)) return FALSE;  // a second one ends the process
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    stopOnEvent->Request(interrupt ? StopCause::Interrupt : StopCause::Terminate);
    // After a close, logoff or shutdown event the system ends the process once this returns: the run gets
    // the few seconds it allows to stop and clean up, and ending the run ends this thread as well.
    if (!interrupt) ::Sleep(4500);
    return TRUE;
}

}  // namespace

void StopOnInterruption(StopRequest& stop) {
    stopOnEvent = &stop;
    ::SetConsoleCtrlHandler(RequestStop, TRUE);
}

}  // namespace calvorin
