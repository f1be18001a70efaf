// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/PendingFile.h"

#include <cctype>
#include <utility>

#include "platform/fs/FileError.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Files.h"
#include "platform/fs/Wildcard.h"
#include "platform/os/PathText.h"
#include "platform/os/SystemError.h"

namespace fs = std::filesystem;

namespace calvorin {
namespace {

// A marker no user's file carries, then a random part of a fixed length: the clean-up deletes nothing else.
constexpr std::string_view kMarker = ".calvorin-tmp-";
constexpr std::size_t kUniqueLength = 12;

fs::path FolderOf(const fs::path& path) {
    return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

}  // namespace

bool IsTemporaryName(std::string_view name, std::string_view finalNameMask) {
    if (name.size() < 2 + kMarker.size() + kUniqueLength || name.front() != '.') return false;
    const std::string_view random = name.substr(name.size() - kUniqueLength);
    for (char c : random)
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    const std::string_view rest = name.substr(1, name.size() - 1 - kUniqueLength);
    if (!rest.ends_with(kMarker)) return false;
    const std::string_view finalName = rest.substr(0, rest.size() - kMarker.size());
    return !finalName.empty() && MatchesWildcard(finalNameMask, finalName);
}

void RemoveStaleTemporaries(const fs::path& folder, std::string_view finalNameMask) {
    if (!DirectoryExists(folder)) return;  // nothing to remove; creating the file will say what is wrong
    for (const fs::path& file : ListMatchingFiles(folder, ".*")) {
        if (!IsTemporaryName(PathText(file.filename()), finalNameMask)) continue;
        SystemError error = ActiveFileSystem().Remove(file);
        if (error && KindOf(error) != ErrorKind::NotFound)
            ThrowFileError("Impossibile eliminare il file", file, error);
    }
}

PendingFile::PendingFile(fs::path path, NewFileMode newMode) : path_(std::move(path)), newMode_(newMode) {
    const std::string name = PathText(path_.filename());
    RemoveStaleTemporaries(FolderOf(path_), name);
    file_.emplace(
        FileHandle::CreateUnique(FolderOf(path_), "." + name + std::string(kMarker), kUniqueLength, path_));
}

PendingFile::~PendingFile() {
    if (!committed_ && file_) {
        const fs::path temporary = file_->NativePath();
        file_.reset();
        ActiveFileSystem().Remove(temporary);
    }
}

std::optional<std::string> PendingFile::Commit() {
    file_->TakeRightsFor(path_, newMode_);
    file_->Sync();
    file_->Close();
    if (SystemError error = ActiveFileSystem().Replace(file_->NativePath(), path_))
        ThrowFileError("Impossibile sostituire il file", path_, error);
    committed_ = true;
    if (SystemError error = ActiveFileSystem().SyncFolder(FolderOf(path_)))
        return "il file \"" + PathText(path_) +
               "\" è scritto, ma la sua cartella non si è potuta sincronizzare sul disco (" +
               SystemErrorText(error) +
               "): dopo un'interruzione di corrente potrebbe tornare quello di prima";
    return std::nullopt;
}

}  // namespace calvorin
