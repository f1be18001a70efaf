// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/PathText.h"

#include "platform/os/windows/WideText.h"

namespace calvorin {

std::filesystem::path Utf8Path(std::string_view utf8) {
    return std::filesystem::path(Utf8ToWide(utf8));
}

std::string PathText(const std::filesystem::path& path) {
    return WideToUtf8(path.native());
}

bool SystemTakesWindowsPaths() {
    return true;
}

}  // namespace calvorin
