// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/VersionResource.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "platform/os/windows/WideText.h"

namespace calvorin {
namespace {

// The Comments string of the resource's first language and code page, when there is one.
std::string Comments(const std::vector<unsigned char>& resource) {
    void* data = nullptr;
    UINT size = 0;
    if (!::VerQueryValueW(resource.data(), L"\\VarFileInfo\\Translation", &data, &size) || size < 4)
        return {};
    const auto* pair = static_cast<const WORD*>(data);
    wchar_t key[64];
    std::swprintf(key, 64, L"\\StringFileInfo\\%04X%04X\\Comments", pair[0], pair[1]);
    if (!::VerQueryValueW(resource.data(), key, &data, &size) || size == 0) return {};
    const auto* text = static_cast<const wchar_t*>(data);
    // The length counts the final null, which the text may or may not carry.
    return WideToUtf8(std::wstring_view(text, ::wcsnlen(text, size)));
}

}  // namespace

std::optional<FileVersion> ReadFileVersion(const std::filesystem::path& executable) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(executable.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> resource(size);
    if (!::GetFileVersionInfoW(executable.c_str(), 0, size, resource.data())) return std::nullopt;
    void* data = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(resource.data(), L"\\", &data, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                       HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS), Comments(resource)};
}

}  // namespace calvorin
