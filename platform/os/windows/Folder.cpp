// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/Folder.h"

#include <windows.h>

#include <memory>
#include <string_view>

#include "platform/os/windows/Win32Path.h"

namespace calvorin {
namespace {

// Closes a search handle.
struct SearchCloser {
    void operator()(HANDLE search) const { ::FindClose(search); }
};

FileType EntryType(const WIN32_FIND_DATAW& data, const std::filesystem::path& path) {
    // A link tells nothing of what it leads to: that is asked of the name itself.
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        FileInfo info;
        return PathInfo(path, info) ? FileType::Other : info.type;
    }
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileType::Directory : FileType::Regular;
}

}  // namespace

SystemError ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>& out) {
    out.clear();
    // FindFirstFileExW takes the "\\?\" form, which std::filesystem of MinGW does not always pass on.
    std::wstring pattern = Win32Path(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data{};
    const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                             nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        const SystemError error = LastSystemError();
        // An empty drive root holds not even "." and "..": nothing found in a folder that is there is no
        // failure.
        FileInfo info;
        if (error.code == ERROR_FILE_NOT_FOUND && !PathInfo(folder, info) && info.type == FileType::Directory)
            return {};
        return error;
    }
    const std::unique_ptr<void, SearchCloser> owned(search);
    do {
        const std::wstring_view name(data.cFileName);
        if (name == L"." || name == L"..") continue;
        std::filesystem::path path = folder / std::filesystem::path(std::wstring(name));
        const FileType type = EntryType(data, path);
        out.push_back({std::move(path), type});
    } while (::FindNextFileW(search, &data));
    const SystemError error = LastSystemError();
    return error.code == ERROR_NO_MORE_FILES ? SystemError{} : error;
}

SystemError CreateFolder(const std::filesystem::path& folder) {
    return ::CreateDirectoryW(Win32Path(folder).c_str(), nullptr) ? SystemError{} : LastSystemError();
}

SystemError CreateFolders(const std::filesystem::path& folder) {
    FileInfo info;
    if (!PathInfo(folder, info)) {
        return info.type == FileType::Directory ? SystemError{} : SystemErrorOf(ErrorKind::AlreadyExists);
    }
    const std::filesystem::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder && parent.relative_path() != std::filesystem::path()) {
        if (const SystemError error = CreateFolders(parent)) return error;
    }
    if (::CreateDirectoryW(Win32Path(folder).c_str(), nullptr)) return {};
    const SystemError error = LastSystemError();
    return error.code == ERROR_ALREADY_EXISTS && !PathInfo(folder, info) && info.type == FileType::Directory
               ? SystemError{}
               : error;
}

}  // namespace calvorin
