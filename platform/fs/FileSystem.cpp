// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/FileSystem.h"

namespace calvorin {
namespace {

FileSystem*& Active() {
    static SystemFileSystem system;
    static FileSystem* active = &system;
    return active;
}

}  // namespace

SystemError SystemFileSystem::Create(const std::filesystem::path& path, NativeFile& out) {
    return NativeFile::Create(path, out);
}

SystemError SystemFileSystem::CreateUnique(const std::filesystem::path& folder, std::string_view prefix,
                                           std::size_t randomLength, NativeFile& out) {
    return NativeFile::CreateUnique(folder, prefix, randomLength, out);
}

SystemError SystemFileSystem::Write(NativeFile& file, std::uint64_t offset, const void* data,
                                    std::size_t size, std::size_t& done) {
    return file.WriteAt(offset, data, size, done);
}

SystemError SystemFileSystem::Truncate(NativeFile& file, std::uint64_t size) {
    return file.Truncate(size);
}

SystemError SystemFileSystem::TakeRightsFor(NativeFile& file, const std::filesystem::path& target,
                                            NewFileMode mode) {
    return file.TakeRightsFor(target, mode);
}

SystemError SystemFileSystem::Sync(NativeFile& file) {
    return file.Sync();
}

SystemError SystemFileSystem::Replace(const std::filesystem::path& from, const std::filesystem::path& to) {
    return RenameOver(from, to);
}

SystemError SystemFileSystem::Remove(const std::filesystem::path& path) {
    return RemoveFile(path);
}

SystemError SystemFileSystem::SyncFolder(const std::filesystem::path& folder) {
    return calvorin::SyncFolder(folder);
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
