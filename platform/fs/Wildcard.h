// SPDX-License-Identifier: GPL-3.0-or-later
// Windows wildcard masks: matching a name, listing and deleting the files of a folder that match.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace calvorin {

// True when `name` matches `mask` by the Windows rules: "*" any run of characters, "?" exactly one,
// ASCII letters compared without case; a mask ending in ".*" also matches names without that dot, so
// "*.*" matches every name. A character is a UTF-8 sequence, not a byte.
bool MatchesWildcard(std::string_view mask, std::string_view name);

// The regular files directly in `folder` (hidden ones too) whose names match `mask`, in the listing's
// order. Throws std::runtime_error naming the folder when it cannot be listed.
std::vector<std::filesystem::path> ListMatchingFiles(const std::filesystem::path& folder,
                                                     std::string_view mask);

// Deletes the files ListMatchingFiles gives, except those named in `keep`. Throws std::runtime_error
// naming the first file that cannot be deleted; the files before it are gone.
void DeleteMatchingFiles(const std::filesystem::path& folder, std::string_view mask,
                         const std::vector<std::filesystem::path>& keep = {});

}  // namespace calvorin
