// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/PathText.h"

namespace calvorin {

std::filesystem::path Utf8Path(std::string_view utf8) {
    return std::filesystem::path(std::string(utf8));
}

std::string PathText(const std::filesystem::path& path) {
    return path.native();
}

bool SystemTakesWindowsPaths() {
    return false;
}

}  // namespace calvorin
