// SPDX-License-Identifier: GPL-3.0-or-later
// An open file of the system, with the few calls the program makes on files, names and folders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/os/SystemError.h"

namespace calvorin {

enum class FileType { Regular, Directory, Fifo, Device, SymbolicLink, Other };

// What the program reads of a file, the same on every system.
struct FileInfo {
    FileType type = FileType::Other;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;  // last change of the data, in nanoseconds since 1970-01-01 UTC
    std::int64_t changedNs = 0;   // last change of the data or of what describes it (size, name, rights)
    bool readOnly = false;        // the owner may not write it
    bool hidden = false;  // hidden from listings: a name starting with "." on POSIX, the attribute on Windows
};

// Who may read a file that replaces no earlier one; a replaced regular file keeps the rights it had.
enum class NewFileMode {
    FollowUmask,  // as any program's new file: 0666 less the umask; the folder's inherited rights on Windows
    OwnerOnly,    // its owner only, for a file that holds secrets
};

// Owns one open file of the system. Every call returns the system's failure, or no failure; nothing
// throws. Moving leaves the source closed; destroying an open file closes it, ignoring any failure.
class NativeFile {
  public:
    NativeFile() = default;
    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&& other) noexcept;
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;
    ~NativeFile();

    // Opens an existing file for reading, whatever it is, without ever waiting (a FIFO with no writer
    // opens at once). Other programs may go on reading, writing, renaming and deleting it meanwhile. With
    // `followLink` false a symbolic link as the last name is not opened (a failure on POSIX; on Windows the
    // link itself opens, and Info says what it is).
    static SystemError OpenForReading(const std::filesystem::path& path, NativeFile& out,
                                      bool followLink = true);
    // Creates the file, or empties the one there, for writing.
    static SystemError Create(const std::filesystem::path& path, NativeFile& out);
    // Creates a new file in `folder` named `prefix` followed by `randomLength` random letters and digits,
    // exclusively (never an existing name, never through a link), readable and writable by its owner only.
    static SystemError CreateUnique(const std::filesystem::path& folder, std::string_view prefix,
                                    std::size_t randomLength, NativeFile& out);

    // Opens the file, creating it empty (owner only) when missing and never through a link, and takes an
    // exclusive lock on it without waiting: held while the file stays open, dropped by the system however
    // the process ends. A lock another process holds is a Busy failure.
    static SystemError OpenLocked(const std::filesystem::path& path, NativeFile& out);

    bool IsOpen() const;
    // The path the file was opened or created with.
    const std::filesystem::path& Path() const { return path_; }

    // Reads up to `size` bytes at `offset` into `data`; `done` is how many, 0 at the end of the file.
    SystemError ReadAt(std::uint64_t offset, void* data, std::size_t size, std::size_t& done) const;
    // Writes up to `size` bytes at `offset`; `done` is how many were written.
    SystemError WriteAt(std::uint64_t offset, const void* data, std::size_t size, std::size_t& done);
    SystemError Truncate(std::uint64_t size);
    SystemError Info(FileInfo& out) const;
    // Gives the file the rights it should have once renamed over `target`: those of the regular file
    // there, or those of a new file of the given mode when there is none.
    SystemError TakeRightsFor(const std::filesystem::path& target, NewFileMode mode);
    // Flushes the file's data and size to the disk.
    SystemError Sync();
    // Closes the file, reporting what the system reports on closing (a full disk over NFS, for one).
    SystemError Close();

  private:
    // A file descriptor on POSIX, a HANDLE on Windows; both systems take -1 for none.
    static constexpr std::intptr_t kClosed = -1;

    std::intptr_t native_ = kClosed;
    std::filesystem::path path_;
};

// Renames `from` over `to` in the same folder, replacing a file there; a symbolic link there is
// replaced, never written through. On Windows a file that another program holds open is retried for a
// few seconds before the failure is returned.
SystemError RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);

// Deletes the file; a missing file is a NotFound failure.
SystemError RemoveFile(const std::filesystem::path& path);

// Makes the names in the folder survive a power cut (POSIX syncs the folder; Windows needs nothing).
SystemError SyncFolder(const std::filesystem::path& folder);

// What is at the path, without following a final symbolic link.
SystemError LinkInfo(const std::filesystem::path& path, FileInfo& out);

// What is at the path, a final symbolic link followed.
SystemError PathInfo(const std::filesystem::path& path, FileInfo& out);

}  // namespace calvorin
