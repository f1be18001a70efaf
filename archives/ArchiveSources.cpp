// SPDX-License-Identifier: GPL-3.0-or-later
#include "archives/ArchiveSources.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"
#include "platform/os/Folder.h"
#include "platform/os/NativeFile.h"
#include "platform/os/SystemError.h"
#include "platform/text/AsciiCase.h"

namespace calvorin {
namespace {

int CompareFoldingAscii(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return FoldAscii(a[i]) < FoldAscii(b[i]) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

std::optional<std::string> FindLatestBackup(const std::string& backupFolder) {
    if (backupFolder.empty()) return std::nullopt;
    std::filesystem::path folder;
    try {
        folder = PathFromText(backupFolder);
    } catch (const std::exception&) {
        return std::nullopt;  // a drive Wine lacks holds no backup
    }
    std::vector<FolderEntry> entries;
    if (ListFolder(folder, entries)) return std::nullopt;  // no folder that can be read holds no backup
    std::optional<std::string> latest;
    for (const FolderEntry& entry : entries) {
        std::string name = PathText(entry.path.filename());
        // A hidden name (leading ".") never begins with "FCMBKP", so the prefix test also skips those.
        if (!name.starts_with("FCMBKP") || entry.type != FileType::Directory) continue;
        if (!latest || CompareFoldingAscii(name, *latest) > 0) latest = std::move(name);
    }
    if (!latest) return std::nullopt;
    // In the folder's own form: the text goes into the settings file that FCM on Windows reads too.
    return JoinPathText(backupFolder, {*latest});
}

std::optional<std::string> BackupFolderProblem(const std::string& backupFolder) {
    if (backupFolder.empty()) return std::nullopt;
    std::filesystem::path folder;
    try {
        folder = PathFromText(backupFolder);
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
    FileInfo info;
    if (const SystemError error = PathInfo(folder, info))
        return KindOf(error) == ErrorKind::NotFound ? std::nullopt : std::optional(SystemErrorText(error));
    if (info.type != FileType::Directory) return std::string("non è una cartella");
    std::vector<FolderEntry> entries;
    if (const SystemError error = ListFolder(folder, entries)) return SystemErrorText(error);
    return std::nullopt;
}

}  // namespace calvorin
