// SPDX-License-Identifier: GPL-3.0-or-later
// The one door of every file write, so that tests can make any of them fail or crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/os/NativeFile.h"
#include "platform/os/SystemError.h"

namespace calvorin {

// Every call that changes the disk: creating, writing, syncing, renaming and deleting files. Each
// returns the system's failure, or none, as NativeFile does. Reads cannot damage a file, so they go
// straight to NativeFile.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    virtual SystemError Create(const std::filesystem::path& path, NativeFile& out) = 0;
    virtual SystemError CreateUnique(const std::filesystem::path& folder, std::string_view prefix,
                                     std::size_t randomLength, NativeFile& out) = 0;
    virtual SystemError Write(NativeFile& file, std::uint64_t offset, const void* data, std::size_t size,
                              std::size_t& done) = 0;
    virtual SystemError Truncate(NativeFile& file, std::uint64_t size) = 0;
    virtual SystemError TakeRightsFor(NativeFile& file, const std::filesystem::path& target,
                                      NewFileMode mode) = 0;
    virtual SystemError Sync(NativeFile& file) = 0;
    virtual SystemError Replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual SystemError Remove(const std::filesystem::path& path) = 0;
    virtual SystemError SyncFolder(const std::filesystem::path& folder) = 0;
};

// The system's calls, unchanged.
class SystemFileSystem : public FileSystem {
  public:
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
};

// The file system every write of the program goes through: SystemFileSystem unless overridden.
FileSystem& ActiveFileSystem();

// Makes `fileSystem` the active one for its lifetime; the previous one comes back afterwards.
class ScopedFileSystem {
  public:
    explicit ScopedFileSystem(FileSystem& fileSystem);
    ~ScopedFileSystem();
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

  private:
    FileSystem* previous_;
};

}  // namespace calvorin
