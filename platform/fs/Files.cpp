// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/fs/FileError.h"
#include "platform/fs/FileHandle.h"

namespace calvorin {
namespace {

// Removes the temporary file unless the write went through.
class TempFile {
  public:
    explicit TempFile(std::string path) : path_(std::move(path)) {}
    ~TempFile() {
        if (!committed_) ::unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return path_; }
    void Commit() { committed_ = true; }

  private:
    std::string path_;
    bool committed_ = false;
};

// Writes the bytes, or as many as the fault allows before failing as a full disk does.
void WriteAll(FileHandle& file, std::string_view bytes, const WriteFaults& faults) {
    std::size_t allowed = std::min(faults.failAfterBytes.value_or(bytes.size()), bytes.size());
    file.WriteAt(0, bytes.data(), allowed);
    if (allowed < bytes.size()) ThrowFileError("Impossibile scrivere il file", file.Path(), ENOSPC);
}

}  // namespace

std::string ReadFileBytes(const std::filesystem::path& path) {
    FileHandle file = FileHandle::OpenForReading(path);
    if (S_ISDIR(file.Stat().st_mode)) ThrowFileError("Impossibile leggere il file", path, EISDIR);
    std::string out;
    char buffer[65536];
    while (std::size_t n = file.ReadSomeAt(out.size(), buffer, sizeof buffer)) out.append(buffer, n);
    return out;
}

void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes, const WriteFaults& faults) {
    std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    FileHandle file = FileHandle::CreateUnique(pattern, path);
    TempFile temp(pattern);
    struct stat st {};
    // Keep the permissions of the file being replaced; a new file gets the usual 0644.
    file.SetMode(::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    WriteAll(file, bytes, faults);
    file.Sync();
    file.Close();
    if (::rename(temp.path().c_str(), path.c_str()) != 0)
        ThrowFileError("Impossibile sostituire il file", path, errno);
    temp.Commit();
}

bool FileExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool DirectoryExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

}  // namespace calvorin
