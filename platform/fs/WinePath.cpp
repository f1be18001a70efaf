// SPDX-License-Identifier: GPL-3.0-or-later
// Windows paths mapped through the Wine prefix, with bounds on everything that comes from outside.
#include "platform/fs/WinePath.h"

#include <stdexcept>
#include <vector>

#include "platform/fs/Files.h"
#include "platform/os/Process.h"
#include "platform/text/AsciiCase.h"

namespace fs = std::filesystem;

namespace calvorin {
namespace {

// Windows' own limits: 32767 characters for a long path, 255 for a name.
constexpr std::size_t kMaxPathText = 32767;
constexpr std::size_t kMaxComponent = 255;
constexpr std::size_t kMaxComponents = 512;
// A folder with more entries than this is not searched further for a name that differs in case.
constexpr std::size_t kMaxEntriesScanned = 100000;
constexpr std::size_t kMaxPrefixText = 4096;

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDrivePath(std::string_view text) {
    return text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == ':' &&
           (text.size() == 2 || IsSeparator(text[2]));
}

bool IsUncPath(std::string_view text) {
    return text.starts_with("\\\\");
}

// Windows folds case beyond ASCII: the Latin-1 letters an Italian name may hold (à è é ì ò ù) fold too.
std::string FoldName(std::string_view name) {
    std::string folded;
    folded.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        auto byte = static_cast<unsigned char>(name[i]);
        if (byte == 0xC3 && i + 1 < name.size()) {
            auto next = static_cast<unsigned char>(name[i + 1]);
            // U+00E0..U+00FE lower to upper, except U+00F7 (division sign).
            if (next >= 0xA0 && next <= 0xBE && next != 0xB7) next = static_cast<unsigned char>(next - 0x20);
            folded += static_cast<char>(byte);
            folded += static_cast<char>(next);
            ++i;
            continue;
        }
        folded += static_cast<char>(FoldAscii(name[i]));
    }
    return folded;
}

// The name in `folder` equal to `name` but for case; the smallest when several are, for a stable answer.
std::optional<std::string> FindFoldedName(const fs::path& folder, std::string_view name) {
    const std::string wanted = FoldName(name);
    std::optional<std::string> found;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return found;  // never open what is not a folder (a FIFO would wait)
    fs::directory_iterator it(folder, ec);
    std::size_t scanned = 0;
    for (; !ec && it != fs::directory_iterator() && scanned < kMaxEntriesScanned;
         it.increment(ec), ++scanned) {
        std::string candidate = PathText(it->path().filename());
        if (FoldName(candidate) == wanted && (!found || candidate < *found)) found = std::move(candidate);
    }
    return found;
}

std::vector<std::string_view> Components(std::string_view rest, std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end])) ++end;
        std::string_view part = rest.substr(start, end - start);
        if (!part.empty()) {
            if (part.size() > kMaxComponent) {
                throw std::runtime_error("Nome troppo lungo (oltre " + std::to_string(kMaxComponent) +
                                         " caratteri) nel percorso: " + std::string(text));
            }
            if (parts.size() == kMaxComponents) {
                throw std::runtime_error("Percorso con troppi livelli di cartelle: " + std::string(text));
            }
            parts.push_back(part);
        }
        start = end + 1;
    }
    return parts;
}

std::string UncMessage(std::string_view text) {
    return "Percorsi di rete (UNC) non supportati: " + std::string(text);
}

}  // namespace

bool IsWindowsPathText(std::string_view text) {
    return IsDrivePath(text) || IsUncPath(text);
}

fs::path WinePrefixFromEnvironment() {
    const std::optional<std::string> prefix = EnvironmentVariable("WINEPREFIX");
    if (prefix && !prefix->empty()) {
        std::string_view value(*prefix);
        if (value.size() > kMaxPrefixText || value.front() != '/') {
            throw std::runtime_error("WINEPREFIX non è un percorso assoluto: " +
                                     std::string(value.substr(0, kMaxPrefixText)));
        }
        return Utf8Path(value);
    }
    const std::optional<std::string> home = EnvironmentVariable("HOME");
    if (!home || !home->starts_with('/') || home->size() > kMaxPrefixText) {
        throw std::runtime_error(
            "Prefisso di Wine sconosciuto: WINEPREFIX non è impostata e HOME non è un percorso assoluto");
    }
    return Utf8Path(*home) / ".wine";
}

fs::path MapWindowsPath(std::string_view text, const fs::path& prefix) {
    if (text.size() > kMaxPathText) {
        throw std::runtime_error("Percorso troppo lungo (" + std::to_string(text.size()) + " caratteri)");
    }
    if (text.find('\0') != std::string_view::npos) {
        throw std::runtime_error("Percorso non valido (contiene un carattere nullo)");
    }
    std::string_view path = text;
    // "\\?\C:\..." is the long form of a drive path; "\\?\UNC\..." of a network one.
    if (path.starts_with(R"(\\?\)") && IsDrivePath(path.substr(4))) path.remove_prefix(4);
    if (IsUncPath(path)) throw std::runtime_error(UncMessage(text));
    if (!IsDrivePath(path)) throw std::runtime_error("Percorso di Windows non valido: " + std::string(text));

    const std::string drive{static_cast<char>(path[0] | 0x20), ':'};
    const fs::path devices = prefix / "dosdevices";
    std::error_code ec;
    fs::path current;
    if (fs::is_directory(devices / drive, ec)) current = fs::canonical(devices / drive, ec);
    if (current.empty() || ec) {
        std::string shown{static_cast<char>(path[0] & ~0x20), ':'};
        throw std::runtime_error("Unità \"" + shown + "\" non presente nel prefisso di Wine (" +
                                 PathText(devices) + ")");
    }
    const fs::path root = current;
    bool searching = true;  // false once a component is missing: nothing below it can exist
    for (std::string_view part : Components(path.substr(2), text)) {
        if (part == ".") continue;
        if (part == "..") {
            // Windows resolves ".." by the text and never above the drive's root.
            if (current != root) current = current.parent_path();
            continue;
        }
        fs::path exact = current / part;
        if (searching && !fs::exists(fs::symlink_status(exact, ec))) {
            if (auto found = FindFoldedName(current, part)) {
                exact = current / *found;
            } else {
                searching = false;
            }
        }
        current = std::move(exact);
    }
    return current;
}

std::optional<std::string> PathTextProblem(std::string_view text) {
    try {
        (void)PathFromText(text);
        return std::nullopt;
    } catch (const std::exception& e) {
        return std::string(e.what());
    }
}

std::string JoinPathText(std::string_view base, std::initializer_list<std::string_view> names) {
    char separator = '/';
    if (IsWindowsPathText(base)) {
        const std::size_t last = base.find_last_of("\\/");
        separator = last == std::string_view::npos ? '\\' : base[last];
    }
    std::string joined(base);
    for (std::string_view name : names) {
        if (!joined.empty() && !IsSeparator(joined.back())) joined += separator;
        joined += name;
    }
    return joined;
}

std::string DialogStartText(const std::string& text) {
    if (!IsWindowsPathText(text)) return text;
    try {
        return PathText(PathFromText(text));
    } catch (const std::exception&) {
        return text;
    }
}

}  // namespace calvorin
