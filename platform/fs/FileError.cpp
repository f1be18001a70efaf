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

const char* NotAFileReason(FileType type) {
    switch (type) {
        case FileType::Directory:
            return "è una cartella, non un file";
        case FileType::Fifo:
            return "è una FIFO, non un file";
        case FileType::Device:
            return "è un dispositivo, non un file";
        case FileType::SymbolicLink:
            return "è un collegamento simbolico, non un file";
        default:
            return "non è un file regolare";
    }
}

}  // namespace calvorin
