// SPDX-License-Identifier: GPL-3.0-or-later
// The one conversion between UTF-8 text and a file-system path (UTF-16 on Windows, bytes on POSIX).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace calvorin {

// The path named by UTF-8 text. Never throws: on Windows a byte that is not UTF-8 becomes U+FFFD; on
// POSIX the bytes are the name.
std::filesystem::path Utf8Path(std::string_view utf8);

// The path as UTF-8 text, for logs, messages and settings. Never throws: on Windows an unpaired
// surrogate becomes U+FFFD; on POSIX the name's bytes are returned as they are.
std::string PathText(const std::filesystem::path& path);

// True where the system's own paths are Windows paths (Windows); false where a Windows path comes from a
// Windows program running under Wine and names a file through the Wine prefix.
bool SystemTakesWindowsPaths();

}  // namespace calvorin
