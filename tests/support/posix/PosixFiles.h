// SPDX-License-Identifier: GPL-3.0-or-later
// What the POSIX tests do to files that the standard library cannot: the umask, FIFOs.
#pragma once

#include <filesystem>

namespace calvorin::test {

// Sets the umask for the scope; the previous one comes back afterwards.
class ScopedUmask {
  public:
    explicit ScopedUmask(unsigned mask);
    ~ScopedUmask();
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

  private:
    unsigned previous_;
};

// Makes a FIFO at the path, readable and writable by its owner. Throws std::system_error when it cannot.
void MakeFifo(const std::filesystem::path& path);

// The permission bits of what is at the path, a symbolic link itself rather than its target.
unsigned ModeOf(const std::filesystem::path& path);

// The group of what is at the path, a symbolic link itself rather than its target; and a group other
// than our own that we may give a file: any (nogroup) for root, else one of our supplementary groups,
// else our own.
unsigned GroupOf(const std::filesystem::path& path);
unsigned AnotherGroupWeMayGive();
void SetGroup(const std::filesystem::path& path, unsigned group);

}  // namespace calvorin::test
