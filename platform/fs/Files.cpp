// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace calvorin {
namespace {

[[noreturn]] void ThrowErrno(const char* what, const std::filesystem::path& path, int err) {
    throw std::runtime_error(std::string(what) + " \"" + path.string() + "\": " + std::strerror(err));
}

// Owns a file descriptor.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

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

void WriteAll(int fd, std::string_view bytes, const WriteFaults& faults, const std::filesystem::path& path) {
    std::size_t limit = faults.failAfterBytes.value_or(bytes.size());
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (done >= limit) ThrowErrno("Impossibile scrivere il file", path, ENOSPC);
        std::size_t chunk = std::min(bytes.size() - done, limit - done);
        ssize_t n = ::write(fd, bytes.data() + done, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ThrowErrno("Impossibile scrivere il file", path, errno);
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

std::string ReadFileBytes(const std::filesystem::path& path) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) ThrowErrno("Impossibile aprire il file", path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) == 0 && S_ISDIR(st.st_mode))
        ThrowErrno("Impossibile leggere il file", path, EISDIR);
    std::string out;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ThrowErrno("Impossibile leggere il file", path, errno);
        if (n == 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes, const WriteFaults& faults) {
    std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    int raw = ::mkstemp(pattern.data());
    if (raw < 0) ThrowErrno("Impossibile creare il file", path, errno);
    Fd fd(raw);
    TempFile temp(pattern);
    struct stat st {};
    // Keep the permissions of the file being replaced; a new file gets the usual 0644.
    ::fchmod(fd.get(), ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    WriteAll(fd.get(), bytes, faults, path);
    if (::fsync(fd.get()) != 0) ThrowErrno("Impossibile scrivere il file", path, errno);
    if (::close(fd.release()) != 0) ThrowErrno("Impossibile scrivere il file", path, errno);
    if (::rename(temp.path().c_str(), path.c_str()) != 0)
        ThrowErrno("Impossibile sostituire il file", path, errno);
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
