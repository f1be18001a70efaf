// SPDX-License-Identifier: GPL-3.0-or-later
// An environment variable set for one scope, and a scratch Wine prefix for the tests of Windows paths.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace calvorin::test {

class ScopedEnv {
  public:
    // `value` nullopt unsets the variable.
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// A Wine prefix as wineboot lays it out, with only the links the mapping reads: dosdevices/c: to
// ../drive_c and dosdevices/z: to /.
inline std::filesystem::path MakeScratchWinePrefix(const std::filesystem::path& prefix) {
    std::filesystem::create_directories(prefix / "dosdevices");
    std::filesystem::create_directories(prefix / "drive_c");
    std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    std::filesystem::create_directory_symlink("/", prefix / "dosdevices" / "z:");
    return std::filesystem::canonical(prefix / "drive_c");
}

}  // namespace calvorin::test
