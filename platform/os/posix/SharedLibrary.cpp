// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/SharedLibrary.h"

#include <dlfcn.h>

#include <stdexcept>
#include <utility>

namespace calvorin {

SharedLibrary::SharedLibrary(const char* name) : handle_(::dlopen(name, RTLD_NOW | RTLD_LOCAL)) {
    if (!handle_) {
        const char* reason = ::dlerror();
        throw std::runtime_error(reason ? reason : name);
    }
}

SharedLibrary::~SharedLibrary() {
    if (handle_) ::dlclose(handle_);
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

void* SharedLibrary::Symbol(const char* name) const {
    return ::dlsym(handle_, name);
}

}  // namespace calvorin
