// SPDX-License-Identifier: GPL-3.0-or-later
// An open file read and written at explicit offsets, for archives that are too big to hold in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/os/NativeFile.h"

namespace calvorin {

// Owns an open file; every failure throws std::runtime_error with an Italian message naming the file and
// the system's reason. Writes go through ActiveFileSystem().
class FileHandle {
  public:
    // Opens an existing regular file for reading. A FIFO, a device or a folder is refused with an Italian
    // reason, never waited on: the open does not block, and nothing is read before the type is known.
    // With `followLink` false a symbolic link is refused too: for files of another program found in a
    // folder others can write, whose target could be anything readable by us.
    static FileHandle OpenForReading(const std::filesystem::path& path, bool followLink = true);
    // Creates the file, or empties it when it exists, for writing.
    static FileHandle CreateForWriting(const std::filesystem::path& path);
    // Creates a new file in `folder`, readable by its owner only, named `prefix` followed by
    // `randomLength` random letters and digits. Errors name `reportedPath`, the file the user knows,
    // rather than the temporary name.
    static FileHandle CreateUnique(const std::filesystem::path& folder, std::string_view prefix,
                                   std::size_t randomLength, const std::filesystem::path& reportedPath);

    FileHandle(FileHandle&& other) noexcept = default;
    FileHandle& operator=(FileHandle&&) = delete;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    // Closes the file quietly when Close was not called.
    ~FileHandle() = default;

    // Reads up to `size` bytes at `offset`; returns how many were read, 0 at the end of the file.
    std::size_t ReadSomeAt(std::uint64_t offset, void* data, std::size_t size) const;
    // Writes all `size` bytes at `offset`.
    void WriteAt(std::uint64_t offset, const void* data, std::size_t size);
    // Cuts or extends the file to `size` bytes.
    void Truncate(std::uint64_t size);
    FileInfo Info() const;
    // The file's size in bytes.
    std::uint64_t Size() const { return Info().size; }
    // Gives the file the rights it should have once it replaces `target` (NativeFile::TakeRightsFor).
    void TakeRightsFor(const std::filesystem::path& target, NewFileMode mode);
    // Flushes the file's data to the disk.
    void Sync();
    // Closes the file, reporting an error the system gives on closing (a full disk over NFS, for one).
    void Close();

    // The path errors name: the file's own, or the one the user knows for a temporary.
    const std::filesystem::path& Path() const { return path_; }
    // The name the file was created under (a temporary's own name).
    const std::filesystem::path& NativePath() const { return file_.Path(); }

  private:
    FileHandle(NativeFile file, std::filesystem::path path)
        : file_(std::move(file)), path_(std::move(path)) {}
    [[noreturn]] void Fail(const char* what, SystemError error) const;

    NativeFile file_;
    std::filesystem::path path_;
};

}  // namespace calvorin
