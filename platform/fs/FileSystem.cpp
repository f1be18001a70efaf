// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace calvorin {
namespace {

FileSystem*& Active() {
    static PosixFileSystem posix;
    static FileSystem* active = &posix;
    return active;
}

}  // namespace

int PosixFileSystem::Create(const std::filesystem::path& path, int flags, mode_t mode) {
    return ::open(path.c_str(), flags | O_CLOEXEC, mode);
}

int PosixFileSystem::CreateUnique(std::string& pattern) {
    return ::mkostemp(pattern.data(), O_CLOEXEC);
}

ssize_t PosixFileSystem::Write(int fd, const void* data, std::size_t size, off_t offset) {
    return ::pwrite(fd, data, size, offset);
}

int PosixFileSystem::Truncate(int fd, off_t size) {
    return ::ftruncate(fd, size);
}

int PosixFileSystem::ChangeMode(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}

int PosixFileSystem::Sync(int fd) {
    return ::fsync(fd);
}

int PosixFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    return std::rename(from.c_str(), to.c_str());
}

int PosixFileSystem::Remove(const std::filesystem::path& path) {
    return ::unlink(path.c_str());
}

FileSystem& ActiveFileSystem() {
    return *Active();
}

ScopedFileSystem::ScopedFileSystem(FileSystem& fileSystem) : previous_(Active()) {
    Active() = &fileSystem;
}

ScopedFileSystem::~ScopedFileSystem() {
    Active() = previous_;
}

}  // namespace calvorin
