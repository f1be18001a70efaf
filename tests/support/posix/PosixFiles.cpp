// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/posix/PosixFiles.h"

#include <sys/stat.h>

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

}  // namespace calvorin::test
