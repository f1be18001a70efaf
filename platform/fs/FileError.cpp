// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/FileError.h"

#include <cstring>
#include <stdexcept>

namespace calvorin {

std::string FileErrorText(std::string_view what, const std::filesystem::path& path, std::string_view reason) {
    std::string text(what);
    text += " \"";
    text += path.string();
    text += "\": ";
    text += reason;
    return text;
}

void ThrowFileError(std::string_view what, const std::filesystem::path& path, int errorNumber) {
    throw std::runtime_error(FileErrorText(what, path, std::strerror(errorNumber)));
}

void ThrowFileError(std::string_view what, const std::filesystem::path& path, const std::error_code& error) {
    throw std::runtime_error(FileErrorText(what, path, error.message()));
}

}  // namespace calvorin
