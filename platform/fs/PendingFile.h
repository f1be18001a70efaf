// SPDX-License-Identifier: GPL-3.0-or-later
// A file written under a temporary name beside its final path and renamed into place only when complete.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/fs/FileHandle.h"

namespace calvorin {

// The temporary is ".<name>.calvorin-tmp-" and twelve random letters or digits: hidden, matched by none of
// the masks the program deletes with, and of a shape no user's own file has.
// It is created exclusively with mode 0600, so that its secrets stay private while it is incomplete, and
// it takes its final mode just before the rename.
class PendingFile {
  public:
    // Removes the temporaries a killed run left for this name, then creates a new one. Throws
    // std::runtime_error naming `path` when it cannot.
    PendingFile(std::filesystem::path path, NewFileMode newMode);
    // Removes the temporary unless Commit went through.
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    FileHandle& File() { return *file_; }
    const std::filesystem::path& Path() const { return path_; }

    // Gives the file its final rights (NativeFile::TakeRightsFor), flushes it to disk, closes it and renames
    // it over the path; a symbolic link there is replaced, never written through. Then syncs the folder, so
    // that the new name survives a power cut. The file is in place once the rename is through: a failed
    // sync after it is no failure but a warning, returned for the log.
    std::optional<std::string> Commit();

  private:
    std::filesystem::path path_;
    NewFileMode newMode_;
    std::optional<FileHandle> file_;
    bool committed_ = false;
};

// Deletes the temporaries of PendingFile in `folder` whose final names match the wildcard mask
// (`FcmBackup*.zip`, or a plain name), whoever left them. Throws std::runtime_error on failure.
void RemoveStaleTemporaries(const std::filesystem::path& folder, std::string_view finalNameMask);

// True when `name` is the name of a PendingFile temporary for a final name matching the mask.
bool IsTemporaryName(std::string_view name, std::string_view finalNameMask);

}  // namespace calvorin
