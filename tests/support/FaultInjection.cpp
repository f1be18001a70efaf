// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FaultInjection.h"

#include <cstdlib>
#include <optional>

#include "platform/os/Process.h"
#include "platform/text/Integer.h"

namespace calvorin::test {

SystemError FaultInjectingFileSystem::Planned() {
    if (++count_ != plan_.at) return {};
    // _Exit runs no destructor and no exit handler: the files stay as the crash found them.
    if (plan_.kind == FaultPlan::Kind::Crash) std::_Exit(kCrashExitCode);
    return SystemErrorOf(plan_.error);
}

SystemError FaultInjectingFileSystem::Create(const std::filesystem::path& path, NativeFile& out) {
    if (SystemError error = Planned()) return error;
    return system_.Create(path, out);
}

SystemError FaultInjectingFileSystem::CreateUnique(const std::filesystem::path& folder,
                                                   std::string_view prefix, std::size_t randomLength,
                                                   NativeFile& out) {
    if (SystemError error = Planned()) return error;
    return system_.CreateUnique(folder, prefix, randomLength, out);
}

SystemError FaultInjectingFileSystem::Write(NativeFile& file, std::uint64_t offset, const void* data,
                                            std::size_t size, std::size_t& done) {
    if (SystemError error = Planned()) return error;
    return system_.Write(file, offset, data, size, done);
}

SystemError FaultInjectingFileSystem::Truncate(NativeFile& file, std::uint64_t size) {
    if (SystemError error = Planned()) return error;
    return system_.Truncate(file, size);
}

SystemError FaultInjectingFileSystem::TakeRightsFor(NativeFile& file, const std::filesystem::path& target,
                                                    NewFileMode mode) {
    if (SystemError error = Planned()) return error;
    return system_.TakeRightsFor(file, target, mode);
}

SystemError FaultInjectingFileSystem::Sync(NativeFile& file) {
    if (SystemError error = Planned()) return error;
    return system_.Sync(file);
}

SystemError FaultInjectingFileSystem::Replace(const std::filesystem::path& from,
                                              const std::filesystem::path& to) {
    if (SystemError error = Planned()) return error;
    return system_.Replace(from, to);
}

SystemError FaultInjectingFileSystem::Remove(const std::filesystem::path& path) {
    if (SystemError error = Planned()) return error;
    return system_.Remove(path);
}

SystemError FaultInjectingFileSystem::SyncFolder(const std::filesystem::path& folder) {
    if (SystemError error = Planned()) {
        failedAtFolderSync_ = true;
        return error;
    }
    return system_.SyncFolder(folder);
}

namespace {

std::optional<std::size_t> PositiveFromEnvironment(const char* name) {
    const std::optional<std::string> text = EnvironmentVariable(name);
    if (!text) return std::nullopt;
    auto value = ParseInteger(*text);
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

}  // namespace calvorin::test
