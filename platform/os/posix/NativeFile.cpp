// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/NativeFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>

namespace calvorin {
namespace {

int Fd(std::intptr_t native) {
    return static_cast<int>(native);
}

SystemError Result(bool ok) {
    return ok ? SystemError{} : LastSystemError();
}

FileType TypeOf(mode_t mode) {
    if (S_ISREG(mode)) return FileType::Regular;
    if (S_ISDIR(mode)) return FileType::Directory;
    if (S_ISFIFO(mode)) return FileType::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return FileType::Device;
    if (S_ISLNK(mode)) return FileType::SymbolicLink;
    return FileType::Other;
}

std::int64_t Nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

FileInfo InfoOf(const struct stat& st, const std::filesystem::path& path) {
    FileInfo info;
    info.type = TypeOf(st.st_mode);
    info.size = static_cast<std::uint64_t>(st.st_size);
    info.modifiedNs = Nanoseconds(st.st_mtim);
    info.changedNs = Nanoseconds(st.st_ctim);
    info.readOnly = (st.st_mode & S_IWUSR) == 0;
    info.hidden = path.filename().native().starts_with('.');
    return info;
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

}  // namespace

NativeFile::NativeFile(NativeFile&& other) noexcept
    : native_(std::exchange(other.native_, kClosed)), path_(std::move(other.path_)) {}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
    if (this != &other) {
        if (native_ != kClosed) ::close(Fd(native_));
        native_ = std::exchange(other.native_, kClosed);
        path_ = std::move(other.path_);
    }
    return *this;
}

NativeFile::~NativeFile() {
    if (native_ != kClosed) ::close(Fd(native_));
}

SystemError NativeFile::OpenForReading(const std::filesystem::path& path, NativeFile& out, bool followLink) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for ever. It is taken off again
    // so that reads of a regular file behave as usual.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    if (fd < 0) return LastSystemError();
    NativeFile file;
    file.native_ = fd;
    file.path_ = path;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return LastSystemError();
    out = std::move(file);
    return {};
}

SystemError NativeFile::OpenLocked(const std::filesystem::path& path, NativeFile& out) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return LastSystemError();
    NativeFile file;
    file.native_ = fd;
    file.path_ = path;
    // flock, not fcntl's locks: those belong to the process and go with any descriptor of the file it closes.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? SystemErrorOf(ErrorKind::Busy) : LastSystemError();
    out = std::move(file);
    return {};
}

SystemError NativeFile::Create(const std::filesystem::path& path, NativeFile& out) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return LastSystemError();
    out.native_ = fd;
    out.path_ = path;
    return {};
}

SystemError NativeFile::CreateUnique(const std::filesystem::path& folder, std::string_view prefix,
                                     std::size_t randomLength, NativeFile& out) {
    // mkostemp draws the random part and creates with O_EXCL and mode 0600.
    std::string pattern = (folder / std::string(prefix)).native() + std::string(randomLength, 'X');
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return LastSystemError();
    out.native_ = fd;
    out.path_ = pattern;
    return {};
}

bool NativeFile::IsOpen() const {
    return native_ != kClosed;
}

SystemError NativeFile::ReadAt(std::uint64_t offset, void* data, std::size_t size, std::size_t& done) const {
    for (;;) {
        const ssize_t n = ::pread(Fd(native_), data, size, static_cast<off_t>(offset));
        if (n >= 0) {
            done = static_cast<std::size_t>(n);
            return {};
        }
        if (errno != EINTR) return LastSystemError();
    }
}

SystemError NativeFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size, std::size_t& done) {
    for (;;) {
        const ssize_t n = ::pwrite(Fd(native_), data, size, static_cast<off_t>(offset));
        if (n >= 0) {
            done = static_cast<std::size_t>(n);
            return {};
        }
        if (errno != EINTR) return LastSystemError();
    }
}

SystemError NativeFile::Truncate(std::uint64_t size) {
    return Result(::ftruncate(Fd(native_), static_cast<off_t>(size)) == 0);
}

SystemError NativeFile::Info(FileInfo& out) const {
    struct stat st {};
    if (::fstat(Fd(native_), &st) != 0) return LastSystemError();
    out = InfoOf(st, path_);
    return {};
}

SystemError NativeFile::TakeRightsFor(const std::filesystem::path& target, NewFileMode mode) {
    struct stat st {};
    mode_t rights = 0;
    if (::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        rights = st.st_mode & 07777;
        // The owner and group too, as far as we may give them: a web server that reads the file through
        // its group must go on reading it. Only root gives a file away; a member of the group may give it
        // that group. Otherwise the new file is ours, as any new file is. Before the mode: a change of
        // owner clears the set-id bits.
        const bool kept = ::fchown(Fd(native_), st.st_uid, st.st_gid) == 0 ||
                          ::fchown(Fd(native_), static_cast<uid_t>(-1), st.st_gid) == 0;
        (void)kept;  // not ours to give: the new file stays ours
    } else {
        rights = mode == NewFileMode::OwnerOnly ? 0600 : (0666 & ~CurrentUmask());
    }
    return Result(::fchmod(Fd(native_), rights) == 0);
}

SystemError NativeFile::Sync() {
    return Result(::fsync(Fd(native_)) == 0);
}

SystemError NativeFile::Close() {
    const int fd = Fd(std::exchange(native_, kClosed));
    return Result(fd < 0 || ::close(fd) == 0);
}

SystemError RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return Result(::rename(from.c_str(), to.c_str()) == 0);
}

SystemError RemoveFile(const std::filesystem::path& path) {
    return Result(::unlink(path.c_str()) == 0);
}

SystemError SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return LastSystemError();
    SystemError error = Result(::fsync(fd) == 0);
    if (::close(fd) != 0 && !error) error = LastSystemError();
    return error;
}

SystemError LinkInfo(const std::filesystem::path& path, FileInfo& out) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return LastSystemError();
    out = InfoOf(st, path);
    return {};
}

SystemError PathInfo(const std::filesystem::path& path, FileInfo& out) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return LastSystemError();
    out = InfoOf(st, path);
    return {};
}

}  // namespace calvorin
