// SPDX-License-Identifier: GPL-3.0-or-later
// A Windows program standing in for FCM under Wine: starts the rest of its command line as FCM starts its
// plug-in; waits for a Windows program and returns its exit code.
#include <windows.h>

#include <cwchar>

namespace {

// The command line after this program's own name, Windows quoting rules for the first token.
wchar_t* AfterOwnName(wchar_t* line) {
    if (*line == L'"') {
        ++line;
        while (*line && *line != L'"') ++line;
        if (*line) ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

}  // namespace

int wmain() {
    wchar_t* command = AfterOwnName(GetCommandLineW());
    if (!*command) {
        std::fwprintf(stderr, L"uso: fcm_standin <programma> <argomenti>\n");
        return 120;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fwprintf(stderr, L"CreateProcess non riuscita (%lu): %ls\n", GetLastError(), command);
        return 121;
    }
    // Wine runs a Linux program natively and hands back no handle to it: there is nothing to wait on.
    if (!process.hProcess) return 0;
    if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0) return 123;
    DWORD code = 124;
    if (!GetExitCodeProcess(process.hProcess, &code)) code = 125;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
