// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/Files.h"

#include "platform/fs/FileHandle.h"
#include "platform/fs/WinePath.h"

namespace calvorin {

namespace {

std::string ReadAll(const FileHandle& file) {
    std::string out;
    char buffer[65536];
    while (std::size_t n = file.ReadSomeAt(out.size(), buffer, sizeof buffer)) out.append(buffer, n);
    return out;
}

}  // namespace

std::string ReadFileBytes(const std::filesystem::path& path) {
    return ReadAll(FileHandle::OpenForReading(path));
}

std::string ReadFileBytesNoLink(const std::filesystem::path& path) {
    return ReadAll(FileHandle::OpenForReading(path, false));
}

std::optional<std::string> WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                                           NewFileMode newMode) {
    PendingFile pending(path, newMode);
    pending.File().WriteAt(0, bytes.data(), bytes.size());
    return pending.Commit();
}

std::filesystem::path PathFromText(std::string_view text) {
    if (!SystemTakesWindowsPaths() && IsWindowsPathText(text))
        return MapWindowsPath(text, WinePrefixFromEnvironment());
    return Utf8Path(text);
}

bool FileExists(const std::filesystem::path& path) {
    FileInfo info;
    return !PathInfo(path, info) && info.type == FileType::Regular;
}

bool DirectoryExists(const std::filesystem::path& path) {
    FileInfo info;
    return !PathInfo(path, info) && info.type == FileType::Directory;
}

}  // namespace calvorin
