// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/FileHandle.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <utility>

#include "platform/fs/FileError.h"
#include "platform/fs/FileSystem.h"

namespace calvorin {
namespace {

int OpenOrThrow(const std::filesystem::path& path, int flags, const char* what) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) ThrowFileError(what, path, errno);
    return fd;
}

const char* NotRegularReason(mode_t mode) {
    if (S_ISDIR(mode)) return "è una cartella, non un file";
    if (S_ISFIFO(mode)) return "è una FIFO, non un file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "è un dispositivo, non un file";
    return "non è un file regolare";
}

}  // namespace

FileHandle FileHandle::OpenForReading(const std::filesystem::path& path) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for ever.
    FileHandle file(OpenOrThrow(path, O_RDONLY | O_NONBLOCK, "Impossibile aprire il file"), path);
    mode_t mode = file.Stat().st_mode;
    if (!S_ISREG(mode))
        throw std::runtime_error(FileErrorText("Impossibile leggere il file", path, NotRegularReason(mode)));
    int flags = ::fcntl(file.fd_, F_GETFL);
    if (flags < 0 || ::fcntl(file.fd_, F_SETFL, flags & ~O_NONBLOCK) != 0)
        file.Fail("Impossibile aprire il file", errno);
    return file;
}

FileHandle FileHandle::OpenFolder(const std::filesystem::path& path) {
    return FileHandle(OpenOrThrow(path, O_RDONLY | O_DIRECTORY, "Impossibile aprire la cartella"), path);
}

FileHandle FileHandle::CreateForWriting(const std::filesystem::path& path) {
    int fd = ActiveFileSystem().Create(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) ThrowFileError("Impossibile creare il file", path, errno);
    return FileHandle(fd, path);
}

FileHandle FileHandle::CreateUnique(std::string& pattern, const std::filesystem::path& reportedPath) {
    int fd = ActiveFileSystem().CreateUnique(pattern);
    if (fd < 0) ThrowFileError("Impossibile creare il file", reportedPath, errno);
    return FileHandle(fd, reportedPath);
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

FileHandle::~FileHandle() {
    if (fd_ >= 0) ::close(fd_);
}

void FileHandle::Fail(const char* what, int error) const {
    ThrowFileError(what, path_, error);
}

std::size_t FileHandle::ReadSomeAt(std::uint64_t offset, void* data, std::size_t size) const {
    for (;;) {
        ssize_t n = ::pread(fd_, data, size, static_cast<off_t>(offset));
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) Fail("Impossibile leggere il file", errno);
    }
}

void FileHandle::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ActiveFileSystem().Write(fd_, bytes, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("Impossibile scrivere il file", n < 0 ? errno : ENOSPC);
        bytes += n;
        offset += static_cast<std::uint64_t>(n);
        size -= static_cast<std::size_t>(n);
    }
}

void FileHandle::Truncate(std::uint64_t size) {
    if (ActiveFileSystem().Truncate(fd_, static_cast<off_t>(size)) != 0)
        Fail("Impossibile scrivere il file", errno);
}

struct stat FileHandle::Stat() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) Fail("Impossibile leggere il file", errno);
    return st;
}

std::uint64_t FileHandle::Size() const {
    return static_cast<std::uint64_t>(Stat().st_size);
}

void FileHandle::SetMode(mode_t mode) {
    if (ActiveFileSystem().ChangeMode(fd_, mode) != 0) Fail("Impossibile scrivere il file", errno);
}

void FileHandle::Sync() {
    if (ActiveFileSystem().Sync(fd_) != 0) Fail("Impossibile scrivere il file", errno);
}

void FileHandle::Close() {
    int fd = std::exchange(fd_, -1);
    if (fd >= 0 && ::close(fd) != 0) Fail("Impossibile scrivere il file", errno);
}

}  // namespace calvorin
