// SPDX-License-Identifier: GPL-3.0-or-later
// A shared library loaded while the program runs, for a dependency that only some runs need.
#pragma once

#include <string>

namespace calvorin {

// Owns one loaded library; the library is unloaded when the object goes.
class SharedLibrary {
  public:
    // Loads the library by file name, as the system looks it up. Throws std::runtime_error with the
    // system's reason when it cannot be loaded.
    explicit SharedLibrary(const char* name);
    ~SharedLibrary();
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&&) = delete;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The address of a symbol of the library, or nullptr when it has none of that name.
    void* Symbol(const char* name) const;

  private:
    void* handle_;
};

}  // namespace calvorin
