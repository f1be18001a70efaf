// SPDX-License-Identifier: GPL-3.0-or-later
// What the archives pack: FCM's latest backup folder.
#pragma once

#include <optional>
#include <string>

namespace calvorin {

// Returns the path (backupFolder, "/", name) of the latest backup in FCM's backup folder: among the
// folders listed there that are not hidden (name starting with ".") and whose name begins with "FCMBKP"
// (exact case), the one with the greatest name when ASCII letters are compared without case; among
// equal names, the first listed. Returns nothing when backupFolder is empty, cannot be listed, or holds
// no such folder. Never throws for file-system reasons.
std::optional<std::string> FindLatestBackup(const std::string& backupFolder);

// Why FCM's backup folder holds no backup that FindLatestBackup could see, when it is there but cannot be
// listed ("non è una cartella", a permission); nothing when it can be listed, is missing or is not set.
std::optional<std::string> BackupFolderProblem(const std::string& backupFolder);

}  // namespace calvorin
