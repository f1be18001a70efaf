// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/VersionResource.h"

namespace calvorin {

// ELF executables carry no version resource: the program's version is compiled in instead.
std::optional<FileVersion> ReadFileVersion(const std::filesystem::path&) {
    return std::nullopt;
}

}  // namespace calvorin
