// SPDX-License-Identifier: GPL-3.0-or-later
// The form of a path that Windows' own calls take, long ones included.
#pragma once

#include <filesystem>
#include <string>

namespace calvorin {

// The name Windows' calls take. A long one gets the "\\?\" form, which lifts the 260-character limit but
// also turns off the system's tidying of the name, so it is made absolute with backslashes first.
std::wstring Win32Path(const std::filesystem::path& path);

}  // namespace calvorin
