// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/posix/PosixFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace calvorin::test {

ScopedUmask::ScopedUmask(unsigned mask) : previous_(::umask(static_cast<mode_t>(mask))) {}

ScopedUmask::~ScopedUmask() {
    ::umask(static_cast<mode_t>(previous_));
}

void MakeFifo(const std::filesystem::path& path) {
    if (::mkfifo(path.c_str(), 0600) != 0)
        throw std::system_error(errno, std::generic_category(), "mkfifo " + path.string());
}

unsigned ModeOf(const std::filesystem::path& path) {
    return static_cast<unsigned>(std::filesystem::symlink_status(path).permissions() &
                                 std::filesystem::perms::mask);
}

unsigned GroupOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        throw std::system_error(errno, std::generic_category(), "lstat " + path.string());
    return st.st_gid;
}

unsigned AnotherGroupWeMayGive() {
    if (::geteuid() == 0) return 65534;
    gid_t groups[256];
    const int count = ::getgroups(256, groups);
    for (int i = 0; i < count; ++i)
        if (groups[i] != ::getegid()) return groups[i];
    return ::getegid();
}

void SetGroup(const std::filesystem::path& path, unsigned group) {
    if (::lchown(path.c_str(), static_cast<uid_t>(-1), static_cast<gid_t>(group)) != 0)
        throw std::system_error(errno, std::generic_category(), "lchown " + path.string());
}

}  // namespace calvorin::test
