// SPDX-License-Identifier: GPL-3.0-or-later
// Folders: what they hold, and making them. Long Windows paths (past 260 characters) work as short ones.
#pragma once

#include <filesystem>
#include <vector>

#include "platform/os/NativeFile.h"
#include "platform/os/SystemError.h"

namespace calvorin {

struct FolderEntry {
    std::filesystem::path path;  // the folder joined with the entry's name
    FileType type;               // of what the name leads to, a symbolic link followed (Other when broken)
};

// The entries of the folder, "." and ".." left out, in the system's order.
SystemError ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>& out);

// Makes the folder, whose parent must exist; anything already there under its name is an AlreadyExists
// failure.
SystemError CreateFolder(const std::filesystem::path& folder);

// Makes the folder, and any missing folder above it; a folder already there is no failure.
SystemError CreateFolders(const std::filesystem::path& folder);

}  // namespace calvorin
