// SPDX-License-Identifier: GPL-3.0-or-later
// The site's js/fcmVariabiliCalvorin.js, telling its pages which of Calvorin's features are present.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace calvorin {

// Number of non-empty lines of a text file (a line of blanks counts), its encoding taken from a byte-order
// mark or else Windows-1252; -1 when the file is missing or cannot be read.
int CountLines(const std::filesystem::path& file);

// The eight lines of the variables file for a site folder.
std::vector<std::string> VariablesFileLines(const std::string& version, bool invioFormazione,
                                            const std::string& siteFolder);

// Writes the variables file into the site's js folder (which must exist), replacing it atomically.
// Throws std::runtime_error when it cannot be written.
// Returns WriteFileAtomic's warning, if any.
std::optional<std::string> WriteVariablesFile(const std::string& version, bool invioFormazione,
                                              const std::string& siteFolder);

}  // namespace calvorin
