// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/SystemError.h"

#include <windows.h>

#include <memory>

#include "platform/os/windows/WideText.h"

namespace calvorin {

SystemError LastSystemError() {
    return {static_cast<int>(::GetLastError())};
}

ErrorKind KindOf(SystemError error) {
    switch (static_cast<DWORD>(error.code)) {
        case ERROR_SUCCESS:
            return ErrorKind::None;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return ErrorKind::NotFound;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return ErrorKind::AlreadyExists;
        case ERROR_OPERATION_ABORTED:
            return ErrorKind::Interrupted;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return ErrorKind::Busy;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ErrorKind::DiskFull;
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
            return ErrorKind::AccessDenied;
        case ERROR_WRITE_PROTECT:
            return ErrorKind::ReadOnly;
        default:
            return ErrorKind::Other;
    }
}

SystemError SystemErrorOf(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::None:
            return {};
        case ErrorKind::NotFound:
            return {ERROR_FILE_NOT_FOUND};
        case ErrorKind::AlreadyExists:
            return {ERROR_FILE_EXISTS};
        case ErrorKind::Interrupted:
            return {ERROR_OPERATION_ABORTED};
        case ErrorKind::Busy:
            return {ERROR_SHARING_VIOLATION};
        case ErrorKind::DiskFull:
            return {ERROR_DISK_FULL};
        case ErrorKind::AccessDenied:
            return {ERROR_ACCESS_DENIED};
        case ErrorKind::ReadOnly:
            return {ERROR_WRITE_PROTECT};
        case ErrorKind::Other:
            break;
    }
    return {ERROR_WRITE_FAULT};
}

std::string RawSystemErrorText(SystemError error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(error.code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, decltype(&::LocalFree)> owned(buffer, &::LocalFree);
    std::wstring_view text(buffer ? buffer : L"", length);
    // The system ends its texts with a full stop and a line break; ours follow them in a sentence.
    while (!text.empty() &&
           (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.remove_suffix(1);
    return WideToUtf8(text);
}

}  // namespace calvorin
