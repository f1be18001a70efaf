// SPDX-License-Identifier: GPL-3.0-or-later
// The one door of every file write, so that tests can make any of them fail or crash.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace calvorin {

// Each call returns what the system call returns (-1 with errno set on failure). Only writes pass
// through here: reads cannot damage a file, so they go straight to the system.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // open(2) with O_CREAT among `flags`.
    virtual int Create(const std::filesystem::path& path, int flags, mode_t mode) = 0;
    // mkostemp(3): a new file, mode 0600, created exclusively; the final "XXXXXX" of `pattern` is replaced.
    virtual int CreateUnique(std::string& pattern) = 0;
    virtual ssize_t Write(int fd, const void* data, std::size_t size, off_t offset) = 0;
    virtual int Truncate(int fd, off_t size) = 0;
    virtual int ChangeMode(int fd, mode_t mode) = 0;
    virtual int Sync(int fd) = 0;
    virtual int Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual int Remove(const std::filesystem::path& path) = 0;
};

// The system's calls, unchanged.
class PosixFileSystem : public FileSystem {
  public:
    int Create(const std::filesystem::path& path, int flags, mode_t mode) override;
    int CreateUnique(std::string& pattern) override;
    ssize_t Write(int fd, const void* data, std::size_t size, off_t offset) override;
    int Truncate(int fd, off_t size) override;
    int ChangeMode(int fd, mode_t mode) override;
    int Sync(int fd) override;
    int Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    int Remove(const std::filesystem::path& path) override;
};

// The file system every write of the program goes through: PosixFileSystem unless overridden.
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
