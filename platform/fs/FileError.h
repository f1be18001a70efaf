// SPDX-License-Identifier: GPL-3.0-or-later
// The one wording of a failed file operation: what failed, the path in quotes, the system's reason.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/os/SystemError.h"

namespace calvorin {

// Returns `what "path": reason`, for example `Impossibile aprire il file "/a/b": No such file or directory`.
std::string FileErrorText(std::string_view what, const std::filesystem::path& path, std::string_view reason);

// Throws std::runtime_error with FileErrorText and the reason of `error` (SystemErrorText).
[[noreturn]] void ThrowFileError(std::string_view what, const std::filesystem::path& path, SystemError error);

}  // namespace calvorin
