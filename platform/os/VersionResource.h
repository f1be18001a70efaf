// SPDX-License-Identifier: GPL-3.0-or-later
// The version that an executable file declares of itself, where the system keeps one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace calvorin {

struct FileVersion {
    std::uint16_t major = 0, minor = 0, release = 0, build = 0;
    std::string comments;  // the resource's Comments string in its first language, UTF-8; may be empty
};

// The file version of the executable's version resource (Windows). nullopt when the file has none, and
// always on systems whose executables carry no such resource.
std::optional<FileVersion> ReadFileVersion(const std::filesystem::path& executable);

}  // namespace calvorin
