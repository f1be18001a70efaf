// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/NativeFile.h"

#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <bcrypt.h>
#include <sddl.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/os/windows/WideText.h"
#include "platform/os/windows/Win32Path.h"

namespace calvorin {
namespace {

// The handle kept as an integer in NativeFile, whose header names no Windows type.
HANDLE H(std::intptr_t native) {
    return reinterpret_cast<HANDLE>(native);  // NOLINT(performance-no-int-to-ptr): a handle, not an address
}

SystemError Result(BOOL ok) {
    return ok ? SystemError{} : LastSystemError();
}

// FILETIME counts 100 ns from 1601-01-01; the program counts nanoseconds from 1970-01-01.
constexpr std::int64_t kUnixEpochTicks = 116444736000000000LL;

std::int64_t UnixNanoseconds(std::int64_t ticks) {
    return (ticks - kUnixEpochTicks) * 100;
}

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

void TakeAttributes(DWORD attributes, FileInfo& info) {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        info.type = FileType::SymbolicLink;
    else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        info.type = FileType::Directory;
    else if (attributes & FILE_ATTRIBUTE_DEVICE)
        info.type = FileType::Device;
    else
        info.type = FileType::Regular;
    info.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    info.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

// The current user's account as text ("S-1-5-21-..."), for a security descriptor.
std::wstring CurrentUserSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    const std::unique_ptr<void, decltype(&::CloseHandle)> owned(token, &::CloseHandle);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return {};
    wchar_t* text = nullptr;
    if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) return {};
    const std::unique_ptr<wchar_t, decltype(&::LocalFree)> ownedText(text, &::LocalFree);
    return text;
}

// A security descriptor that lets the current user do anything and no one else anything, inheriting
// nothing from the folder: what POSIX's mode 0600 says.
class OwnerOnlyDescriptor {
  public:
    OwnerOnlyDescriptor() {
        const std::wstring sid = CurrentUserSid();
        if (sid.empty()) return;
        const std::wstring sddl = L"D:P(A;;FA;;;" + sid + L")";
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor,
                                                                   nullptr))
            descriptor_.reset(descriptor);
    }
    // nullptr when the descriptor could not be built.
    SECURITY_ATTRIBUTES* Attributes() {
        if (!descriptor_) return nullptr;
        attributes_ = {sizeof attributes_, descriptor_.get(), FALSE};
        return &attributes_;
    }

  private:
    std::unique_ptr<void, decltype(&::LocalFree)> descriptor_{nullptr, &::LocalFree};
    SECURITY_ATTRIBUTES attributes_{};
};

// Letters and digits drawn from the system's random source.
bool RandomName(std::size_t length, std::wstring& out) {
    static constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr unsigned kCount = 62;
    out.clear();
    while (out.size() < length) {
        unsigned char bytes[32];
        if (!BCRYPT_SUCCESS(::BCryptGenRandom(nullptr, bytes, sizeof bytes, BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
            return false;
        for (unsigned char byte : bytes) {
            // Bytes past the last whole run of the alphabet would favour its first letters.
            if (byte < 256 / kCount * kCount && out.size() < length) out += kAlphabet[byte % kCount];
        }
    }
    return true;
}

// A file system without rights (FAT, some network shares) is not an error: there is nothing to keep.
bool WithoutRights(DWORD error) {
    return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION ||
           error == ERROR_CALL_NOT_IMPLEMENTED;
}

SystemError SetRights(const std::wstring& path, SECURITY_INFORMATION what, PACL dacl) {
    const DWORD error = ::SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT, what,
                                                nullptr, nullptr, dacl, nullptr);
    return error == ERROR_SUCCESS || WithoutRights(error) ? SystemError{}
                                                          : SystemError{static_cast<int>(error)};
}

bool Retryable(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool IsReadOnlyFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// What the open handle leads to.
SystemError HandleInfo(HANDLE handle, FileInfo& out) {
    FileInfo info;
    switch (::GetFileType(handle)) {
        case FILE_TYPE_DISK:
            break;
        case FILE_TYPE_CHAR:
            info.type = FileType::Device;
            out = info;
            return {};
        case FILE_TYPE_PIPE:
            info.type = FileType::Fifo;
            out = info;
            return {};
        default:
            if (const SystemError error = LastSystemError()) return error;
            info.type = FileType::Other;
            out = info;
            return {};
    }
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic))
        return LastSystemError();
    TakeAttributes(basic.FileAttributes & ~FILE_ATTRIBUTE_REPARSE_POINT, info);
    info.modifiedNs = UnixNanoseconds(basic.LastWriteTime.QuadPart);
    info.changedNs = UnixNanoseconds(basic.ChangeTime.QuadPart);
    LARGE_INTEGER size{};
    if (info.type == FileType::Regular) {
        if (!::GetFileSizeEx(handle, &size)) return LastSystemError();
        info.size = static_cast<std::uint64_t>(size.QuadPart);
    }
    out = info;
    return {};
}

}  // namespace

NativeFile::NativeFile(NativeFile&& other) noexcept
    : native_(std::exchange(other.native_, kClosed)), path_(std::move(other.path_)) {}

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
    if (this != &other) {
        if (native_ != kClosed) ::CloseHandle(H(native_));
        native_ = std::exchange(other.native_, kClosed);
        path_ = std::move(other.path_);
    }
    return *this;
}

NativeFile::~NativeFile() {
    if (native_ != kClosed) ::CloseHandle(H(native_));
}

SystemError NativeFile::OpenForReading(const std::filesystem::path& path, NativeFile& out, bool followLink) {
    // FCM may hold its files open: sharing everything lets both go on. Backup semantics open a folder
    // too, so that the caller can say it is one.
    const HANDLE handle = ::CreateFileW(
        Win32Path(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT),
        nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastSystemError();
    out = NativeFile();
    out.native_ = reinterpret_cast<std::intptr_t>(handle);
    out.path_ = path;
    return {};
}

SystemError NativeFile::OpenLocked(const std::filesystem::path& path, NativeFile& out) {
    const HANDLE handle =
        ::CreateFileW(Win32Path(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastSystemError();
    NativeFile file;
    file.native_ = reinterpret_cast<std::intptr_t>(handle);
    file.path_ = path;
    OVERLAPPED at{};
    if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        return LastSystemError();  // ERROR_LOCK_VIOLATION, a Busy failure
    out = std::move(file);
    return {};
}

SystemError NativeFile::Create(const std::filesystem::path& path, NativeFile& out) {
    const HANDLE handle =
        ::CreateFileW(Win32Path(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastSystemError();
    out = NativeFile();
    out.native_ = reinterpret_cast<std::intptr_t>(handle);
    out.path_ = path;
    return {};
}

SystemError NativeFile::CreateUnique(const std::filesystem::path& folder, std::string_view prefix,
                                     std::size_t randomLength, NativeFile& out) {
    OwnerOnlyDescriptor ownerOnly;
    SECURITY_ATTRIBUTES* attributes = ownerOnly.Attributes();
    if (!attributes) return LastSystemError();
    const std::wstring widePrefix = Utf8ToWide(prefix);
    std::wstring random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!RandomName(randomLength, random)) return SystemErrorOf(ErrorKind::Other);
        std::filesystem::path candidate = folder / (widePrefix + random);
        // CREATE_NEW fails on any existing name, a link included: nothing is ever opened through one.
        const HANDLE handle = ::CreateFileW(Win32Path(candidate).c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_DELETE, attributes, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            out = NativeFile();
            out.native_ = reinterpret_cast<std::intptr_t>(handle);
            out.path_ = std::move(candidate);
            return {};
        }
        const SystemError error = LastSystemError();
        if (KindOf(error) != ErrorKind::AlreadyExists) return error;
    }
    return SystemErrorOf(ErrorKind::AlreadyExists);
}

bool NativeFile::IsOpen() const {
    return native_ != kClosed;
}

SystemError NativeFile::ReadAt(std::uint64_t offset, void* data, std::size_t size, std::size_t& done) const {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1U << 30));
    if (!::ReadFile(H(native_), data, chunk, &read, &at)) {
        const SystemError error = LastSystemError();
        if (error.code != ERROR_HANDLE_EOF) return error;
    }
    done = read;
    return {};
}

SystemError NativeFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size, std::size_t& done) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1U << 30));
    if (!::WriteFile(H(native_), data, chunk, &written, &at)) return LastSystemError();
    done = written;
    return {};
}

SystemError NativeFile::Truncate(std::uint64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    return Result(::SetFileInformationByHandle(H(native_), FileEndOfFileInfo, &end, sizeof end));
}

SystemError NativeFile::Info(FileInfo& out) const {
    return HandleInfo(H(native_), out);
}

SystemError NativeFile::TakeRightsFor(const std::filesystem::path& target, NewFileMode mode) {
    const std::wstring self = Win32Path(path_);
    const std::wstring replaced = Win32Path(target);
    const DWORD attributes = ::GetFileAttributesW(replaced.c_str());
    const bool regular = attributes != INVALID_FILE_ATTRIBUTES &&
                         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    if (regular) {
        // The replaced file's own rights, inherited ones recomputed from the folder as they were.
        PACL dacl = nullptr;
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        const DWORD error =
            ::GetNamedSecurityInfoW(replaced.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                    nullptr, &dacl, nullptr, &descriptor);
        if (error != ERROR_SUCCESS)
            return WithoutRights(error) ? SystemError{} : SystemError{static_cast<int>(error)};
        const std::unique_ptr<void, decltype(&::LocalFree)> owned(descriptor, &::LocalFree);
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        ::GetSecurityDescriptorControl(descriptor, &control, &revision);
        const SECURITY_INFORMATION inheritance = (control & SE_DACL_PROTECTED)
                                                     ? PROTECTED_DACL_SECURITY_INFORMATION
                                                     : UNPROTECTED_DACL_SECURITY_INFORMATION;
        return SetRights(self, DACL_SECURITY_INFORMATION | inheritance, dacl);
    }
    if (mode == NewFileMode::OwnerOnly) return {};  // created so
    // What any new file of the folder gets: its inherited rights and nothing of its own.
    ACL empty{};
    if (!::InitializeAcl(&empty, sizeof empty, ACL_REVISION)) return LastSystemError();
    return SetRights(self, DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, &empty);
}

SystemError NativeFile::Sync() {
    return Result(::FlushFileBuffers(H(native_)));
}

SystemError NativeFile::Close() {
    const HANDLE handle = H(std::exchange(native_, kClosed));
    return Result(handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle));
}

SystemError RenameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    const std::wstring source = Win32Path(from);
    const std::wstring target = Win32Path(to);
    // Antivirus and indexing programs open new files for a moment, and FCM or an editor may hold the old
    // one: such a refusal is retried for a few seconds. A read-only file is refused for good at once.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    auto pause = std::chrono::milliseconds(20);
    for (;;) {
        if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return {};
        const SystemError error = LastSystemError();
        if (!Retryable(static_cast<DWORD>(error.code)) || IsReadOnlyFile(target) ||
            std::chrono::steady_clock::now() + pause > deadline)
            return error;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(250));
    }
}

SystemError RemoveFile(const std::filesystem::path& path) {
    // A read-only file stays, as Windows users expect of the attribute.
    return Result(::DeleteFileW(Win32Path(path).c_str()));
}

SystemError SyncFolder(const std::filesystem::path&) {
    // NTFS journals its names: a renamed file flushed with MOVEFILE_WRITE_THROUGH needs nothing more.
    return {};
}

SystemError LinkInfo(const std::filesystem::path& path, FileInfo& out) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(Win32Path(path).c_str(), GetFileExInfoStandard, &data))
        return LastSystemError();
    FileInfo info;
    TakeAttributes(data.dwFileAttributes, info);
    info.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    info.modifiedNs = UnixNanoseconds(Ticks(data.ftLastWriteTime));
    info.changedNs = info.modifiedNs;
    out = info;
    return {};
}

SystemError PathInfo(const std::filesystem::path& path, FileInfo& out) {
    // Opening the name follows a link to what it leads to; asking for attributes alone needs no rights
    // to the data, and backup semantics open a folder too.
    const HANDLE handle = ::CreateFileW(Win32Path(path).c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastSystemError();
    const SystemError error = HandleInfo(handle, out);
    ::CloseHandle(handle);
    return error;
}

}  // namespace calvorin
