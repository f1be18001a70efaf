// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/windows/WideText.h"

#include <windows.h>

#include <limits>
#include <stdexcept>

namespace calvorin {
namespace {

int CheckedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw std::length_error("testo troppo lungo per il sistema");
    return static_cast<int>(size);
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = CheckedLength(utf8.size());
    // Without MB_ERR_INVALID_CHARS each malformed sequence becomes U+FFFD.
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string WideToUtf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = CheckedLength(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

}  // namespace calvorin
