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

// The names in a folder, sorted, found through FindFirstFileW on the "\\?\" form of its absolute path,
// which has no 260-character limit (the standard library's listing has one). Throws std::runtime_error
// when the folder cannot be read.
std::vector<std::string> NamesInFolder(const std::filesystem::path& folder);

// Deletes the folder and everything in it through the "\\?\" form, past the 260-character limit that
// the standard library's removal keeps. Missing files are no failure; the rest throws std::runtime_error.
void RemoveFolderTree(const std::filesystem::path& folder);

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

// True when the list lets in the current user alone, inheriting nothing from the folder. Under Wine (8.0)
// a file has no list of its own: Wine derives one from the file's POSIX mode (SYSTEM and the owner, and
// Everyone when others may read it) and never marks it protected, so there the test is that the list is
// SYSTEM and the current user, without Everyone: what Wine makes of an owner-only list.
bool IsOwnerOnly(const AccessList& list);

// The list as text, for a test's messages.
std::string Describe(const AccessList& list);

// The account of the running process, as "S-1-5-...".
std::string CurrentUserSid();

// True under Wine, whose ntdll says so; its file security is not Windows' (see ReadAccessList's users).
bool RunningUnderWine();

}  // namespace calvorin::test
