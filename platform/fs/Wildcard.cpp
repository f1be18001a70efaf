// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fs/Wildcard.h"

#include <algorithm>
#include <system_error>

#include "platform/fs/FileError.h"
#include "platform/fs/FileSystem.h"
#include "platform/os/Folder.h"
#include "platform/os/PathText.h"
#include "platform/text/AsciiCase.h"

namespace fs = std::filesystem;

namespace calvorin {
namespace {

// The length of the UTF-8 character starting at `at` (1 for a stray byte), never past the end.
std::size_t CharLength(std::string_view text, std::size_t at) {
    auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, text.size() - at);
}

// "*" and "?" only, with backtracking to the last "*".
bool MatchPlain(std::string_view mask, std::string_view name) {
    std::size_t m = 0, n = 0;
    std::size_t starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = ++m;
            starName = n;
        } else if (m < mask.size() && mask[m] == '?') {
            ++m;
            n += CharLength(name, n);
        } else if (m < mask.size() && FoldAscii(mask[m]) == FoldAscii(name[n])) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask;
            starName += CharLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') ++m;
    return m == mask.size();
}

}  // namespace

bool MatchesWildcard(std::string_view mask, std::string_view name) {
    if (MatchPlain(mask, name)) return true;
    // A final ".*" also matches where the name has no more dot: "*.*" takes every name.
    return mask.ends_with(".*") && MatchPlain(mask.substr(0, mask.size() - 2), name);
}

std::vector<fs::path> ListMatchingFiles(const fs::path& folder, std::string_view mask) {
    std::vector<FolderEntry> entries;
    if (const SystemError error = ListFolder(folder, entries))
        ThrowFileError("Impossibile leggere la cartella", folder, error);
    std::vector<fs::path> files;
    for (FolderEntry& entry : entries) {
        if (entry.type == FileType::Regular && MatchesWildcard(mask, PathText(entry.path.filename())))
            files.push_back(std::move(entry.path));
    }
    return files;
}

void DeleteMatchingFiles(const fs::path& folder, std::string_view mask, const std::vector<fs::path>& keep) {
    for (const fs::path& file : ListMatchingFiles(folder, mask)) {
        if (std::any_of(keep.begin(), keep.end(),
                        [&](const fs::path& k) { return k.filename() == file.filename(); }))
            continue;
        SystemError error = ActiveFileSystem().Remove(file);
        if (error && KindOf(error) != ErrorKind::NotFound)
            ThrowFileError("Impossibile eliminare il file", file, error);
    }
}

}  // namespace calvorin
