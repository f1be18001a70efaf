// SPDX-License-Identifier: GPL-3.0-or-later
// The one wording of a failed file operation: what failed, the path in quotes, the system's reason.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/os/NativeFile.h"
#include "platform/os/SystemError.h"

namespace calvorin {

// Returns `what "path": reason`, for example `Impossibile aprire il file "/a/b": No such file or directory`.
std::string FileErrorText(std::string_view what, const std::filesystem::path& path, std::string_view reason);

// Why something of this type is no file to read: "è una cartella, non un file", "è una FIFO, ...".
const char* NotAFileReason(FileType type);

// Throws std::runtime_error with FileErrorText and the reason of `error` (SystemErrorText).
[[noreturn]] void ThrowFileError(std::string_view what, const std::filesystem::path& path, SystemError error);

}  // namespace calvorin
