// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reading and atomic replacement: a failed write never leaves a half-written file behind.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/fs/PendingFile.h"
#include "platform/os/PathText.h"

namespace calvorin {

// Reads the whole file. Throws std::runtime_error with an Italian message naming the file and the
// system's reason when it cannot be opened or read.
std::string ReadFileBytes(const std::filesystem::path& path);
// The same for a file another program keeps in a folder others may write (FCM's files in the site): a
// symbolic link there is refused rather than read, whatever it points to.
std::string ReadFileBytesNoLink(const std::filesystem::path& path);

// Replaces the file with `bytes` through a PendingFile: a temporary in the same folder, flushed to disk,
// then renamed over the target (a symbolic link there is replaced, not followed). On any failure the
// temporary is removed, the previous file (if any) is left exactly as it was, and std::runtime_error is
// thrown; after a crash the next call removes the temporary. A replaced regular file keeps its mode; a
// new one gets `newMode`. The folder must exist. Returns PendingFile::Commit's warning, if any.
std::optional<std::string> WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes,
                                           NewFileMode newMode = NewFileMode::FollowUmask);

// True when a regular file (or a link to one) exists at the path; false on any error.
bool FileExists(const std::filesystem::path& path);

// True when a folder exists at the path; false on any error.
bool DirectoryExists(const std::filesystem::path& path);

// Turns a path kept as text (as typed, or as FCM passes it) into a filesystem path. Where the system's
// own paths are not Windows paths, a Windows path (FCM under Wine) is mapped through the Wine prefix by
// MapWindowsPath (WinePath.h), which throws its Italian message when it cannot be; any other text is
// the path it names.
std::filesystem::path PathFromText(std::string_view text);

}  // namespace calvorin
