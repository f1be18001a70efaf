// SPDX-License-Identifier: GPL-3.0-or-later
// A Windows program standing in for FCM under Wine: starts the rest of its command line as FCM starts its
// plug-in; waits for a Windows program and returns its exit code. Its own standard streams are handed to
// the plug-in, so that the tests read what it writes. With "/hold=<file>" first, it keeps that file open
// meanwhile, letting others read it but not replace or delete it, as an editor or a virus scanner may.
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

// The file named by a leading "/hold=<file>" (up to the next blank), opened without FILE_SHARE_DELETE;
// `command` moves past it. INVALID_HANDLE_VALUE when there is none.
HANDLE HoldFile(wchar_t*& command) {
    if (std::wcsncmp(command, L"/hold=", 6) != 0) return INVALID_HANDLE_VALUE;
    wchar_t* name = command + 6;
    wchar_t* end = name;
    while (*end && *end != L' ') ++end;
    const wchar_t saved = *end;
    *end = L'\0';
    HANDLE file = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    *end = saved;
    command = end;
    while (*command == L' ') ++command;
    return file;
}

}  // namespace

int wmain() {
    wchar_t* command = AfterOwnName(GetCommandLineW());
    const bool holding = std::wcsncmp(command, L"/hold=", 6) == 0;
    HANDLE held = HoldFile(command);
    if (holding && held == INVALID_HANDLE_VALUE) {
        std::fwprintf(stderr, L"impossibile aprire il file da tenere aperto (%lu)\n", GetLastError());
        return 122;
    }
    if (!*command) {
        std::fwprintf(stderr, L"uso: fcm_standin <programma> <argomenti>\n");
        return 120;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
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
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    return static_cast<int>(code);
}
