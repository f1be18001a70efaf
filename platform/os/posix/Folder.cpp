// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/Folder.h"

#include <cerrno>

namespace calvorin {
namespace {

FileType TypeOf(const std::filesystem::directory_entry& entry) {
    std::error_code ec;
    const std::filesystem::file_status status = entry.status(ec);
    if (ec) return FileType::Other;
    switch (status.type()) {
        case std::filesystem::file_type::regular:
            return FileType::Regular;
        case std::filesystem::file_type::directory:
            return FileType::Directory;
        case std::filesystem::file_type::fifo:
            return FileType::Fifo;
        case std::filesystem::file_type::block:
        case std::filesystem::file_type::character:
            return FileType::Device;
        default:
            return FileType::Other;
    }
}

}  // namespace

SystemError ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>& out) {
    out.clear();
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        out.push_back({it->path(), TypeOf(*it)});
    return {ec ? ec.value() : 0};
}

SystemError CreateFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    if (std::filesystem::create_directory(folder, ec)) return {};
    return {ec ? ec.value() : EEXIST};
}

SystemError CreateFolders(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return {ec ? ec.value() : 0};
}

}  // namespace calvorin
