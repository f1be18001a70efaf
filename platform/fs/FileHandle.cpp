// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/FileHandle.h"

#include <stdexcept>
#include <utility>

#include "platform/fs/FileError.h"
#include "platform/fs/FileSystem.h"

namespace calvorin {

FileHandle FileHandle::OpenForReading(const std::filesystem::path& path, bool followLink) {
    FileInfo link;
    // Asked first for the reason's sake: the open below refuses a link anyway, in words of the system's.
    if (!followLink && !LinkInfo(path, link) && link.type == FileType::SymbolicLink)
        throw std::runtime_error(
            FileErrorText("Impossibile leggere il file", path, NotAFileReason(link.type)));
    NativeFile file;
    if (SystemError error = NativeFile::OpenForReading(path, file, followLink))
        ThrowFileError("Impossibile aprire il file", path, error);
    FileHandle handle(std::move(file), path);
    const FileType type = handle.Info().type;
    if (type != FileType::Regular)
        throw std::runtime_error(FileErrorText("Impossibile leggere il file", path, NotAFileReason(type)));
    return handle;
}

FileHandle FileHandle::CreateForWriting(const std::filesystem::path& path) {
    NativeFile file;
    if (SystemError error = ActiveFileSystem().Create(path, file))
        ThrowFileError("Impossibile creare il file", path, error);
    return FileHandle(std::move(file), path);
}

FileHandle FileHandle::CreateUnique(const std::filesystem::path& folder, std::string_view prefix,
                                    std::size_t randomLength, const std::filesystem::path& reportedPath) {
    NativeFile file;
    if (SystemError error = ActiveFileSystem().CreateUnique(folder, prefix, randomLength, file))
        ThrowFileError("Impossibile creare il file", reportedPath, error);
    return FileHandle(std::move(file), reportedPath);
}

void FileHandle::Fail(const char* what, SystemError error) const {
    ThrowFileError(what, path_, error);
}

std::size_t FileHandle::ReadSomeAt(std::uint64_t offset, void* data, std::size_t size) const {
    std::size_t done = 0;
    if (SystemError error = file_.ReadAt(offset, data, size, done))
        Fail("Impossibile leggere il file", error);
    return done;
}

void FileHandle::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        std::size_t done = 0;
        if (SystemError error = ActiveFileSystem().Write(file_, offset, bytes, size, done))
            Fail("Impossibile scrivere il file", error);
        // A write that takes nothing would loop for ever; the system calls that a full disk.
        if (done == 0) Fail("Impossibile scrivere il file", SystemErrorOf(ErrorKind::DiskFull));
        bytes += done;
        offset += done;
        size -= done;
    }
}

void FileHandle::Truncate(std::uint64_t size) {
    if (SystemError error = ActiveFileSystem().Truncate(file_, size))
        Fail("Impossibile scrivere il file", error);
}

FileInfo FileHandle::Info() const {
    FileInfo info;
    if (SystemError error = file_.Info(info)) Fail("Impossibile leggere il file", error);
    return info;
}

void FileHandle::TakeRightsFor(const std::filesystem::path& target, NewFileMode mode) {
    if (SystemError error = ActiveFileSystem().TakeRightsFor(file_, target, mode))
        Fail("Impossibile scrivere il file", error);
}

void FileHandle::Sync() {
    if (SystemError error = ActiveFileSystem().Sync(file_)) Fail("Impossibile scrivere il file", error);
}

void FileHandle::Close() {
    if (SystemError error = file_.Close()) Fail("Impossibile scrivere il file", error);
}

}  // namespace calvorin
