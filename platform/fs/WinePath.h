// SPDX-License-Identifier: GPL-3.0-or-later
// Windows paths (as FCM passes them under Wine) mapped to the Linux files Wine gives them.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace calvorin {

// True for a drive path ("C:", "C:\...", "c:/...") and for a network path ("\\server\share").
bool IsWindowsPathText(std::string_view text);

// The Wine prefix of this process: WINEPREFIX when set, otherwise $HOME/.wine. Throws std::runtime_error
// (Italian) when neither names an absolute folder.
std::filesystem::path WinePrefixFromEnvironment();

// The Linux path of a Windows-form `text` inside `prefix`: the drive through `<prefix>/dosdevices/<d>:`,
// then each component matched without regard to case as Windows does (an exact match wins; a component
// that does not exist is kept as written, so a new file can be named). Throws std::runtime_error (Italian)
// for a drive the prefix lacks, a network path, a NUL, or a text beyond the bounds Windows has.
std::filesystem::path MapWindowsPath(std::string_view text, const std::filesystem::path& prefix);

// Why PathFromText would refuse the text, or nothing when it would not.
std::optional<std::string> PathTextProblem(std::string_view text);

// Appends names to a path kept as text, with the separator style of `base` (a Windows path's last
// separator, "\" when it has none; "/" otherwise), so that logs and saved settings show the path as the
// user knows it.
std::string JoinPathText(std::string_view base, std::initializer_list<std::string_view> names);

// The text to open a file dialog at: the Linux path of a Windows-form text when it maps, else the text.
std::string DialogStartText(const std::string& text);

}  // namespace calvorin
