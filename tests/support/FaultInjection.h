// SPDX-License-Identifier: GPL-3.0-or-later
// A file system that makes the n-th write fail, or ends the process there as kill -9 would.
#pragma once

#include <atomic>
#include <cstddef>

#include "platform/fs/FileSystem.h"

namespace calvorin::test {

// The exit status of a process ended by a planned crash: 128 + SIGKILL, as a shell reports kill -9.
inline constexpr int kCrashExitCode = 137;

struct FaultPlan {
    enum class Kind { Fail, Crash };
    Kind kind = Kind::Fail;
    std::size_t at = 0;                  // the 1-based write operation hit; 0 hits none
    ErrorKind error = ErrorKind::Other;  // what a failure reports, as the system would
};

// Forwards to SystemFileSystem, counting every operation. The planned one either fails with the plan's
// error, without touching the disk, or ends the process before it: no destructor, no clean-up runs.
class FaultInjectingFileSystem : public FileSystem {
  public:
    explicit FaultInjectingFileSystem(FaultPlan plan) : plan_(plan) {}

    // The operations seen so far, the planned one included.
    std::size_t Count() const { return count_.load(); }
    // Whether the planned failure hit a folder sync: after a rename, so the new file is in place and the
    // writer warns rather than fails.
    bool FailedAtFolderSync() const { return failedAtFolderSync_; }

    SystemError Create(const std::filesystem::path& path, NativeFile& out) override;
    SystemError CreateUnique(const std::filesystem::path& folder, std::string_view prefix,
                             std::size_t randomLength, NativeFile& out) override;
    SystemError Write(NativeFile& file, std::uint64_t offset, const void* data, std::size_t size,
                      std::size_t& done) override;
    SystemError Truncate(NativeFile& file, std::uint64_t size) override;
    SystemError TakeRightsFor(NativeFile& file, const std::filesystem::path& target,
                              NewFileMode mode) override;
    SystemError Sync(NativeFile& file) override;
    SystemError Replace(const std::filesystem::path& from, const std::filesystem::path& to) override;
    SystemError Remove(const std::filesystem::path& path) override;
    SystemError SyncFolder(const std::filesystem::path& folder) override;

  private:
    // The failure to report when this operation is the planned one; no failure otherwise.
    SystemError Planned();

    FaultPlan plan_;
    std::atomic<std::size_t> count_ = 0;  // writes may come from more than one thread
    bool failedAtFolderSync_ = false;
    SystemFileSystem system_;
};

// Reads CALVORIN_FAULT_CRASH_AT=<n> or CALVORIN_FAULT_FAIL_AT=<n> and, when one is set, makes a fault
// file system active for the rest of the process. For the test build of the program.
void InstallFaultsFromEnvironment();

}  // namespace calvorin::test
