// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/FaultInjection.h"

#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "platform/text/Integer.h"

namespace calvorin {

bool FaultInjectingFileSystem::Proceed() {
    if (++count_ != plan_.at) return true;
    if (plan_.kind == FaultPlan::Kind::Crash) ::_exit(kCrashExitCode);
    errno = plan_.error;
    return false;
}

int FaultInjectingFileSystem::Create(const std::filesystem::path& path, int flags, mode_t mode) {
    return Proceed() ? posix_.Create(path, flags, mode) : -1;
}

int FaultInjectingFileSystem::CreateUnique(std::string& pattern) {
    return Proceed() ? posix_.CreateUnique(pattern) : -1;
}

ssize_t FaultInjectingFileSystem::Write(int fd, const void* data, std::size_t size, off_t offset) {
    return Proceed() ? posix_.Write(fd, data, size, offset) : -1;
}

int FaultInjectingFileSystem::Truncate(int fd, off_t size) {
    return Proceed() ? posix_.Truncate(fd, size) : -1;
}

int FaultInjectingFileSystem::ChangeMode(int fd, mode_t mode) {
    return Proceed() ? posix_.ChangeMode(fd, mode) : -1;
}

int FaultInjectingFileSystem::Sync(int fd) {
    return Proceed() ? posix_.Sync(fd) : -1;
}

int FaultInjectingFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    return Proceed() ? posix_.Rename(from, to) : -1;
}

int FaultInjectingFileSystem::Remove(const std::filesystem::path& path) {
    return Proceed() ? posix_.Remove(path) : -1;
}

namespace {

std::optional<std::size_t> PositiveFromEnvironment(const char* name) {
    const char* text = std::getenv(name);
    if (!text) return std::nullopt;
    auto value = ParseInteger(text);
    if (!value || *value <= 0) return std::nullopt;
    return static_cast<std::size_t>(*value);
}

}  // namespace

void InstallFaultsFromEnvironment() {
    FaultPlan plan;
    if (auto at = PositiveFromEnvironment("CALVORIN_FAULT_CRASH_AT")) {
        plan = {FaultPlan::Kind::Crash, *at};
    } else if (auto at = PositiveFromEnvironment("CALVORIN_FAULT_FAIL_AT")) {
        plan = {FaultPlan::Kind::Fail, *at};
    } else {
        return;
    }
    // Lives until the process ends: every later write goes through it.
    static FaultInjectingFileSystem faulty(plan);
    static ScopedFileSystem active(faulty);
}

}  // namespace calvorin
