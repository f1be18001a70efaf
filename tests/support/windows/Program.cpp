// SPDX-License-Identifier: GPL-3.0-or-later
// A program of a test started with CreateProcessW, its output read through a pipe by a thread of its own.
#include "support/Program.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string_view>
#include <thread>
#include <utility>

namespace calvorin::test {
namespace {

std::wstring Wide(std::string_view utf8) {
    return Utf8Path(utf8).native();
}

// Closes the handle when it goes.
class OwnedHandle {
  public:
    explicit OwnedHandle(HANDLE handle = nullptr)
        : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~OwnedHandle() { Close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    HANDLE Get() const { return handle_; }
    void Close() {
        if (handle_) ::CloseHandle(handle_);
        handle_ = nullptr;
    }

  private:
    HANDLE handle_;
};

// The name of an environment entry "NAME=value"; the hidden ones of the drives' folders start with "=".
std::wstring_view EntryName(std::wstring_view entry) {
    return entry.substr(0, entry.find(L'=', 1));
}

int CompareNames(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                  TRUE);
}

// The test's environment with the options' changes, as CreateProcessW takes it: entries sorted by name
// without case, each ended by a null, the whole by one more.
std::wstring EnvironmentBlock(const RunOptions& options) {
    std::vector<std::wstring> entries;
    wchar_t* block = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = block; entry && *entry; entry += std::wcslen(entry) + 1)
        entries.emplace_back(entry);
    if (block) ::FreeEnvironmentStringsW(block);
    for (const auto& [name, value] : options.environment) {
        const std::wstring wideName = Wide(name);
        std::erase_if(entries, [&](const std::wstring& entry) {
            return CompareNames(EntryName(entry), wideName) == CSTR_EQUAL;
        });
        if (value) entries.push_back(wideName + L"=" + Wide(*value));
    }
    std::sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareNames(EntryName(a), EntryName(b)) == CSTR_LESS_THAN;
    });
    std::wstring joined;
    for (const std::wstring& entry : entries) joined += entry + L'\0';
    return joined + L'\0';
}

CommandResult Run(const std::filesystem::path& program, const std::string& commandLine,
                  const RunOptions& options) {
    CommandResult result;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return result;
    OwnedHandle reader(readEnd), writer(writeEnd);
    ::SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);  // else the pipe never ends
    OwnedHandle input(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                    OPEN_EXISTING, 0, nullptr));
    // Standard error left to the test's own: an inheritable copy of it.
    HANDLE errorCopy = nullptr;
    if (options.capture == Capture::StdoutOnly)
        ::DuplicateHandle(::GetCurrentProcess(), ::GetStdHandle(STD_ERROR_HANDLE), ::GetCurrentProcess(),
                          &errorCopy, 0, TRUE, DUPLICATE_SAME_ACCESS);
    OwnedHandle error(errorCopy);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.Get();
    startup.hStdOutput = writer.Get();
    startup.hStdError = options.capture == Capture::StdoutAndStderr ? writer.Get() : error.Get();
    std::wstring line = Wide(commandLine);
    std::wstring environment = EnvironmentBlock(options);
    const std::wstring application = std::filesystem::path(program).make_preferred().native();
    PROCESS_INFORMATION started{};
    const BOOL created = ::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, TRUE,
                                          CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, environment.data(),
                                          nullptr, &startup, &started);
    const DWORD createError = ::GetLastError();
    writer.Close();  // the program holds the only writing end: its end is the pipe's end
    input.Close();
    error.Close();
    if (!created) {
        result.output = "cannot start " + PathText(program) + ": error " + std::to_string(createError);
        return result;
    }
    OwnedHandle process(started.hProcess), thread(started.hThread);

    std::thread drain([&] {
        char buffer[65536];
        DWORD read = 0;
        while (::ReadFile(reader.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
            result.output.append(buffer, read);
    });
    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(options.timeout).count();
    const bool inTime =
        ::WaitForSingleObject(process.Get(), static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
    if (!inTime) {
        ::TerminateProcess(process.Get(), 1);
        ::WaitForSingleObject(process.Get(), INFINITE);
    }
    drain.join();
    DWORD code = 0;
    if (inTime && ::GetExitCodeProcess(process.Get(), &code)) result.exitCode = static_cast<int>(code);
    return result;
}

}  // namespace

CommandResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                         const RunOptions& options) {
    std::vector<std::string> words = {PathText(std::filesystem::path(program).make_preferred())};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return Run(program, WindowsCommandLine(words), options);
}

CommandResult RunWithCommandLine(const std::filesystem::path& program, const std::string& commandLine,
                                 const RunOptions& options) {
    return Run(program, commandLine, options);
}

}  // namespace calvorin::test
