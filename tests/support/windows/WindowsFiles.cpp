// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/windows/WindowsFiles.h"

#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "platform/os/PathText.h"

namespace calvorin::test {
namespace {

std::string SidText(PSID sid) {
    wchar_t* text = nullptr;
    if (!::ConvertSidToStringSidW(sid, &text)) return "?";
    const std::unique_ptr<wchar_t, decltype(&::LocalFree)> owned(text, &::LocalFree);
    return PathText(std::filesystem::path(text));
}

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path, DWORD code) {
    throw std::runtime_error(what + " " + PathText(path) + ": error " + std::to_string(code));
}

// The "\\?\" form of the absolute path, which the calls take past 260 characters.
std::wstring ExtendedForm(const std::filesystem::path& path) {
    return L"\\\\?\\" + std::filesystem::absolute(path).make_preferred().native();
}

// Calls `each` with the name and attributes of every entry of the folder but "." and "..".
template <typename Each>
void ForEachEntry(const std::filesystem::path& folder, Each&& each) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((ExtendedForm(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) Fail("cannot list", folder, ::GetLastError());
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") each(name, found.dwFileAttributes);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

}  // namespace

FileHeldOpen::FileHeldOpen(const std::filesystem::path& path)
    : handle_(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (handle_ == INVALID_HANDLE_VALUE) Fail("cannot hold", path, ::GetLastError());
}

FileHeldOpen::~FileHeldOpen() {
    Release();
}

void FileHeldOpen::Release() {
    if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

std::vector<std::string> NamesInFolder(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    ForEachEntry(folder, [&](const std::wstring& name, DWORD) { names.push_back(PathText(name)); });
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveFolderTree(const std::filesystem::path& folder) {
    ForEachEntry(folder, [&](const std::wstring& name, DWORD attributes) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveFolderTree(folder / name);
        } else if (!::DeleteFileW(ExtendedForm(folder / name).c_str()) &&
                   ::GetLastError() != ERROR_FILE_NOT_FOUND) {
            Fail("cannot delete", folder / name, ::GetLastError());
        }
    });
    if (!::RemoveDirectoryW(ExtendedForm(folder).c_str())) Fail("cannot delete", folder, ::GetLastError());
}

AccessList ReadAccessList(const std::filesystem::path& path) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD error = ::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                                nullptr, nullptr, &dacl, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) Fail("cannot read the security of", path, error);
    const std::unique_ptr<void, decltype(&::LocalFree)> owned(descriptor, &::LocalFree);
    AccessList list;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (::GetSecurityDescriptorControl(descriptor, &control, &revision))
        list.inheritsFromFolder = (control & SE_DACL_PROTECTED) == 0;
    list.hasList = dacl != nullptr;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(dacl, i, &ace)) continue;
        const auto* header = static_cast<ACE_HEADER*>(ace);
        if (header->AceType == ACCESS_ALLOWED_ACE_TYPE)
            list.allowed.push_back(SidText(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart));
        else if (header->AceType == ACCESS_DENIED_ACE_TYPE)
            list.denied.push_back(SidText(&static_cast<ACCESS_DENIED_ACE*>(ace)->SidStart));
    }
    return list;
}

bool IsOwnerOnly(const AccessList& list) {
    const std::string user = CurrentUserSid();
    if (user.empty() || !list.hasList || !list.denied.empty()) return false;
    if (RunningUnderWine()) return list.allowed == std::vector<std::string>{"S-1-5-18", user};
    return !list.inheritsFromFolder && list.allowed == std::vector<std::string>{user};
}

std::string Describe(const AccessList& list) {
    std::string text = list.hasList ? (list.inheritsFromFolder ? "inherits;" : "protected;") : "no list;";
    for (const std::string& sid : list.allowed) text += " allows " + sid;
    for (const std::string& sid : list.denied) text += " denies " + sid;
    return text;
}

std::string CurrentUserSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    const std::unique_ptr<void, decltype(&::CloseHandle)> owned(token, &::CloseHandle);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return {};
    return SidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
}

bool RunningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace calvorin::test
