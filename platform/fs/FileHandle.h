// SPDX-License-Identifier: GPL-3.0-or-later
// An open file read and written at explicit offsets, for archives that are too big to hold in memory.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace calvorin {

// Owns a file descriptor (the only owner of one in the program); every failure throws std::runtime_error with
// an Italian message naming the file and the system's reason. Writes go through ActiveFileSystem().
class FileHandle {
  public:
    // Opens an existing regular file for reading. A FIFO, a device or a folder is refused with an Italian
    // reason, never waited on: the open does not block, and nothing is read before the type is known.
    static FileHandle OpenForReading(const std::filesystem::path& path);
    // Opens a folder, to sync the names in it.
    static FileHandle OpenFolder(const std::filesystem::path& path);
    // Creates the file, or empties it when it exists, for writing.
    static FileHandle CreateForWriting(const std::filesystem::path& path);
    // Creates a new file, mode 0600, whose name is `pattern` with its final "XXXXXX" replaced (in
    // `pattern` too) by characters that make it unique. Errors name `reportedPath`, the file the user
    // knows, rather than the temporary name.
    static FileHandle CreateUnique(std::string& pattern, const std::filesystem::path& reportedPath);

    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&&) = delete;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    // Closes the file quietly when Close was not called.
    ~FileHandle();

    // Reads up to `size` bytes at `offset`; returns how many were read, 0 at the end of the file.
    std::size_t ReadSomeAt(std::uint64_t offset, void* data, std::size_t size) const;
    // Writes all `size` bytes at `offset`.
    void WriteAt(std::uint64_t offset, const void* data, std::size_t size);
    // Cuts or extends the file to `size` bytes.
    void Truncate(std::uint64_t size);
    struct stat Stat() const;
    // The file's size in bytes.
    std::uint64_t Size() const;
    void SetMode(mode_t mode);
    // Flushes the file's data to the disk.
    void Sync();
    // Closes the file, reporting an error the system gives on closing (a full disk over NFS, for one).
    void Close();

    const std::filesystem::path& Path() const { return path_; }

  private:
    FileHandle(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
    [[noreturn]] void Fail(const char* what, int error) const;

    int fd_;
    std::filesystem::path path_;
};

}  // namespace calvorin
