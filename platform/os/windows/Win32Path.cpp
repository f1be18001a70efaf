// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/windows/Win32Path.h"

#include <windows.h>

namespace calvorin {

std::wstring Win32Path(const std::filesystem::path& path) {
    const std::wstring& native = path.native();
    if (native.size() < MAX_PATH - 12 || native.starts_with(L"\\\\?\\")) return native;
    const DWORD needed = ::GetFullPathNameW(native.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return native;
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(native.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return native;
    full.resize(length);
    if (full.starts_with(L"\\\\.\\")) return full;  // a device
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

}  // namespace calvorin
