// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/PendingFile.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <fstream>
#include <utility>

#include "platform/fs/FileError.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Wildcard.h"

namespace fs = std::filesystem;

namespace calvorin {
namespace {

constexpr std::string_view kUniqueSuffix = "XXXXXX";

fs::path FolderOf(const fs::path& path) {
    return path.parent_path().empty() ? fs::path(".") : path.parent_path();
}

// Reading the umask through umask(2) would change it for a moment under the other threads.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:")) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
    }
    mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

mode_t FinalMode(const fs::path& path, NewFileMode newMode) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    return newMode == NewFileMode::OwnerOnly ? 0600 : (0666 & ~CurrentUmask());
}

}  // namespace

bool IsTemporaryName(std::string_view name, std::string_view finalNameMask) {
    if (name.size() < 2 + kUniqueSuffix.size() || name.front() != '.') return false;
    std::string_view suffix = name.substr(name.size() - kUniqueSuffix.size());
    for (char c : suffix)
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    std::string_view finalName = name.substr(1, name.size() - 2 - kUniqueSuffix.size());
    return name[name.size() - kUniqueSuffix.size() - 1] == '.' && !finalName.empty() &&
           MatchesWildcard(finalNameMask, finalName);
}

void RemoveStaleTemporaries(const fs::path& folder, std::string_view finalNameMask) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return;  // nothing to remove; creating the file will say what is wrong
    for (const fs::path& file : ListMatchingFiles(folder, ".*")) {
        if (!IsTemporaryName(file.filename().string(), finalNameMask)) continue;
        if (ActiveFileSystem().Remove(file) != 0 && errno != ENOENT)
            ThrowFileError("Impossibile eliminare il file", file, errno);
    }
}

PendingFile::PendingFile(fs::path path, NewFileMode newMode) : path_(std::move(path)), newMode_(newMode) {
    RemoveStaleTemporaries(FolderOf(path_), path_.filename().string());
    temporary_ =
        (FolderOf(path_) / ("." + path_.filename().string() + "." + std::string(kUniqueSuffix))).string();
    file_.emplace(FileHandle::CreateUnique(temporary_, path_));
}

PendingFile::~PendingFile() {
    if (!committed_) {
        file_.reset();
        ActiveFileSystem().Remove(temporary_);
    }
}

void PendingFile::Commit() {
    file_->SetMode(FinalMode(path_, newMode_));
    file_->Sync();
    file_->Close();
    if (ActiveFileSystem().Rename(temporary_, path_) != 0)
        ThrowFileError("Impossibile sostituire il file", path_, errno);
    committed_ = true;
    FileHandle::OpenFolder(FolderOf(path_)).Sync();
}

}  // namespace calvorin
