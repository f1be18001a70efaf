// SPDX-License-Identifier: GPL-3.0-or-later
// What the Windows tests do to files that the standard library cannot: hold one open as another program
// would, read who may use it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace calvorin::test {

// Keeps a file open for reading and writing as an editor or FCM would, letting others read and write it
// but neither delete it nor rename another file over it (no FILE_SHARE_DELETE).
class FileHeldOpen {
  public:
    // Throws std::runtime_error when the file cannot be opened.
    explicit FileHeldOpen(const std::filesystem::path& path);
    ~FileHeldOpen();
    FileHeldOpen(const FileHeldOpen&) = delete;
    FileHeldOpen& operator=(const FileHeldOpen&) = delete;

    // Closes the file now; may be called from another thread than the one that opened it.
    void Release();

  private:
    void* handle_;
};

// The access list of a file, as GetSecurityInfo gives it: the accounts (as "S-1-5-...") that its entries
// allow and deny, in order.
struct AccessList {
    bool hasList = false;            // false: no list at all, which lets everyone in
    bool inheritsFromFolder = true;  // false: protected, the folder's entries are not merged in
    std::vector<std::string> allowed;
    std::vector<std::string> denied;
};

// Throws std::runtime_error with the system's code when the file's security cannot be read.
AccessList ReadAccessList(const std::filesystem::path& path);

// The account of the running process, as "S-1-5-...".
std::string CurrentUserSid();

}  // namespace calvorin::test
