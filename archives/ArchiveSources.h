// SPDX-License-Identifier: GPL-3.0-or-later
// What the archives pack: FCM's latest backup folder and the wildcard masks that pick files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace calvorin {

// Returns the path (backupFolder, "/", name) of the latest backup in FCM's backup folder: among the
// folders listed there that are not hidden (name starting with ".") and whose name begins with "FCMBKP"
// (exact case), the one with the greatest name when ASCII letters are compared without case; among
// equal names, the first listed. Returns nothing when backupFolder is empty, cannot be listed, or holds
// no such folder. Never throws for file-system reasons.
std::optional<std::string> FindLatestBackup(const std::string& backupFolder);

// True when `name` matches `mask` by the Windows rules: "*" any run of characters, "?" exactly one,
// ASCII letters compared without case; a mask ending in ".*" also matches names without that dot, so
// "*.*" matches every name. A character is a UTF-8 sequence, not a byte.
bool MatchesWildcard(std::string_view mask, std::string_view name);

}  // namespace calvorin
