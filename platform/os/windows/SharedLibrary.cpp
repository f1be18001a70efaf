// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/SharedLibrary.h"

#include <windows.h>

#include <stdexcept>
#include <utility>

#include "platform/os/SystemError.h"
#include "platform/os/windows/WideText.h"

namespace calvorin {

SharedLibrary::SharedLibrary(const char* name)
    // Only the system folder is searched: a DLL planted beside the program or in the current folder is
    // never loaded in its place.
    : handle_(::LoadLibraryExW(Utf8ToWide(name).c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    if (!handle_) throw std::runtime_error(SystemErrorText(LastSystemError()));
}

SharedLibrary::~SharedLibrary() {
    if (handle_) ::FreeLibrary(static_cast<HMODULE>(handle_));
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

void* SharedLibrary::Symbol(const char* name) const {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace calvorin
