// SPDX-License-Identifier: GPL-3.0-or-later
// A file system that makes the n-th write fail, or ends the process there as kill -9 would.
#pragma once

#include <atomic>
#include <cerrno>
#include <cstddef>

#include "platform/fs/FileSystem.h"

namespace calvorin {

// The exit status of a process ended by a planned crash: 128 + SIGKILL, as a shell reports kill -9.
inline constexpr int kCrashExitCode = 137;

struct FaultPlan {
    enum class Kind { Fail, Crash };
    Kind kind = Kind::Fail;
    std::size_t at = 0;  // the 1-based write operation hit; 0 hits none
    int error = EIO;     // errno of a failure
};

// Forwards to PosixFileSystem, counting every operation. The planned one either fails with the plan's
// error, without touching the disk, or calls _exit before it: no destructor, no clean-up runs.
class FaultInjectingFileSystem : public FileSystem {
  public:
    explicit FaultInjectingFileSystem(FaultPlan plan) : plan_(plan) {}

    // The operations seen so far, the planned one included.
    std::size_t Count() const { return count_.load(); }

    int Create(const std::filesystem::path& path, int flags, mode_t mode) override;
    int CreateUnique(std::string& pattern) override;
    ssize_t Write(int fd, const void* data, std::size_t size, off_t offset) override;
    int Truncate(int fd, off_t size) override;
    int ChangeMode(int fd, mode_t mode) override;
    int Sync(int fd) override;
    int Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    int Remove(const std::filesystem::path& path) override;

  private:
    // False when this operation is the one that fails (errno is set then).
    bool Proceed();

    FaultPlan plan_;
    std::atomic<std::size_t> count_ = 0;  // writes may come from more than one thread
    PosixFileSystem posix_;
};

// Reads CALVORIN_FAULT_CRASH_AT=<n> or CALVORIN_FAULT_FAIL_AT=<n> and, when one is set, makes a fault
// file system active for the rest of the process. Called once, at start-up, by the executable.
void InstallFaultsFromEnvironment();

}  // namespace calvorin
