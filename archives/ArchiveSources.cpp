// SPDX-License-Identifier: GPL-3.0-or-later
#include "archives/ArchiveSources.h"

#include <filesystem>

#include "platform/fs/Files.h"

namespace calvorin {
namespace {

// Folds a–z to A–Z only, as FCM's own name comparison does; other bytes keep their code.
unsigned char FoldAscii(char c) {
    auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
}

int CompareFoldingAscii(std::string_view a, std::string_view b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return FoldAscii(a[i]) < FoldAscii(b[i]) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

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

std::optional<std::string> FindLatestBackup(const std::string& backupFolder) {
    if (backupFolder.empty()) return std::nullopt;
    std::error_code ec;
    std::filesystem::directory_iterator it(PathFromText(backupFolder), ec);
    std::optional<std::string> latest;
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        // A hidden name (leading ".") never begins with "FCMBKP", so the prefix test also skips those.
        if (!name.starts_with("FCMBKP")) continue;
        std::error_code statusError;
        if (!it->is_directory(statusError)) continue;
        if (!latest || CompareFoldingAscii(name, *latest) > 0) latest = std::move(name);
    }
    if (!latest) return std::nullopt;
    return PathText(PathFromText(backupFolder) / *latest);
}

bool MatchesWildcard(std::string_view mask, std::string_view name) {
    if (MatchPlain(mask, name)) return true;
    // A final ".*" also matches where the name has no more dot: "*.*" takes every name.
    return mask.ends_with(".*") && MatchPlain(mask.substr(0, mask.size() - 2), name);
}

}  // namespace calvorin
