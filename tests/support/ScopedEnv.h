// SPDX-License-Identifier: GPL-3.0-or-later
// An environment variable set for one scope, and a scratch Wine prefix for the tests of Windows paths.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "platform/os/Process.h"

namespace calvorin::test {

// Sets the variable (UTF-8) for this process and the programs it starts, where both the C library and
// EnvironmentVariable (platform/os/Process.h) read it; nullopt removes it.
void SetEnvironment(const std::string& name, const std::optional<std::string>& value);

// An environment variable set for one scope; the value it had comes back afterwards.
class ScopedEnv {
  public:
    // `value` nullopt unsets the variable.
    ScopedEnv(std::string name, const std::optional<std::string>& value)
        : name_(std::move(name)), old_(EnvironmentVariable(name_)) {
        SetEnvironment(name_, value);
    }
    ~ScopedEnv() { SetEnvironment(name_, old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
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
