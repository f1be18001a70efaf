// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/FileError.h"

#include <stdexcept>

#include "platform/os/PathText.h"

namespace calvorin {

std::string FileErrorText(std::string_view what, const std::filesystem::path& path, std::string_view reason) {
    std::string text(what);
    text += " \"";
    text += PathText(path);
    text += "\": ";
    text += reason;
    return text;
}

void ThrowFileError(std::string_view what, const std::filesystem::path& path, SystemError error) {
    throw std::runtime_error(FileErrorText(what, path, SystemErrorText(error)));
}

}  // namespace calvorin
