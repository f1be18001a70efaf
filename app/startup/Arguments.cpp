// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup/Arguments.h"

#include <optional>

#include "platform/fs/Files.h"
#include "platform/os/NativeFile.h"
#include "platform/os/Process.h"
#include "platform/text/Digits.h"
#include "platform/text/Integer.h"
#include "platform/text/Trim.h"
#include "platform/text/Utf8.h"

namespace calvorin {
namespace {

constexpr std::string_view kDelimiters = "/\\:";

bool IsDelimiter(char c) {
    return kDelimiters.find(c) != std::string_view::npos;
}

std::string BaseNameWithoutExtension(std::string_view path) {
    size_t slash = path.find_last_of(kDelimiters);
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::int32_t ReadDecimal(std::string_view digits, std::int32_t fallback) {
    return ParseInteger(digits).value_or(fallback);
}

struct LeagueNameParts {
    std::string_view name, season, year;
};

// Splits a base name of the form name-season-year, as the regular expression "(.*)-(\d+)-(\d{4})$" does
// with ASCII digits: the year is the last four characters, the season every digit before its "-", the name
// all that is left before the season's "-". As in that expression, "$" lets one final line feed through
// and the name, like ".", holds no line feed: it starts after the last one. Text that is not UTF-8 gives
// nothing.
std::optional<LeagueNameParts> SplitLeagueBaseName(std::string_view text) {
    constexpr std::size_t kYearDigits = 4;
    if (!IsValidUtf8(text)) return std::nullopt;
    if (text.ends_with('\n')) text.remove_suffix(1);
    if (text.size() <= kYearDigits) return std::nullopt;
    std::string_view year = text.substr(text.size() - kYearDigits);
    text.remove_suffix(kYearDigits);
    if (LeadingDigitCount(year) != kYearDigits || !text.ends_with('-')) return std::nullopt;
    text.remove_suffix(1);
    std::string_view season = text.substr(text.size() - TrailingDigitCount(text));
    text.remove_suffix(season.size());
    if (season.empty() || !text.ends_with('-')) return std::nullopt;
    text.remove_suffix(1);
    if (std::size_t lineFeed = text.rfind('\n'); lineFeed != std::string_view::npos)
        text.remove_prefix(lineFeed + 1);
    return LeagueNameParts{text, season, year};
}

void SetLeagueFile(PluginContext& context, const std::string& value) {
    context.LeagueFile = value;
    context.LeagueBaseName = BaseNameWithoutExtension(value);
    if (std::optional<LeagueNameParts> parts = SplitLeagueBaseName(context.LeagueBaseName)) {
        context.SeasonNumber = ReadDecimal(parts->season, 1);
        context.SeasonYear = ReadDecimal(parts->year, 2000);
        context.LeagueName = parts->name;
    }
    context.FcmFolder = ExtractFileDir(ExtractFileDir(value));
}

void ApplyArgument(PluginContext& context, std::string_view argument) {
    argument = TrimView(argument);
    if (argument.empty() || argument.front() != '/') return;
    size_t eq = argument.find('=');
    std::string name =
        AsciiLower(argument.substr(1, eq == std::string_view::npos ? std::string_view::npos : eq - 1));
    std::string value(eq == std::string_view::npos ? std::string_view() : argument.substr(eq + 1));
    if (name == "l")
        SetLeagueFile(context, value);
    else if (name == "s")
        context.SArgument = value;
    else if (name == "c")
        context.SiteFolder = value;
    else if (name == "extended")
        context.Extended = true;
}

}  // namespace

std::vector<std::string> ArgumentProblems(const PluginContext& context) {
    std::vector<std::string> problems;
    if (context.LeagueFile.empty()) {
        problems.emplace_back(
            R"(/l mancante: il file della lega, per esempio /l=C:\FCM\Leghe\Fantalega-1-2025.mdb)");
    } else if (context.LeagueFile.find('\0') != std::string::npos) {
        problems.emplace_back("/l non valido: il percorso contiene un carattere nullo");
    } else if (context.LeagueName.empty()) {
        problems.push_back(
            "/l=\"" + context.LeagueFile +
            "\": il nome del file della lega deve avere la forma nome-stagione-anno, per esempio Fantalega-1-2025.mdb");
    } else {
        try {
            FileInfo info;
            const SystemError error = PathInfo(PathFromText(context.LeagueFile), info);
            if (error) {
                problems.push_back("/l=\"" + context.LeagueFile + "\": " +
                                   (KindOf(error) == ErrorKind::NotFound
                                        ? std::string("il file della lega non esiste")
                                        : SystemErrorText(error)));
            } else if (info.type != FileType::Regular) {
                problems.push_back("/l=\"" + context.LeagueFile + "\": non è un file");
            }
        } catch (const std::exception& e) {
            problems.push_back("/l=\"" + context.LeagueFile + "\": " + e.what());  // a drive Wine lacks, say
        }
    }
    if (context.SArgument.empty())
        problems.emplace_back("/s mancante: il testo che FCM passa, per esempio /s=x");
    if (context.SiteFolder.empty()) {
        problems.emplace_back(R"(/c mancante: la cartella del sito della lega, per esempio /c=C:\Sito)");
    } else if (context.SiteFolder.find('\0') != std::string::npos) {
        problems.emplace_back("/c non valido: il percorso contiene un carattere nullo");
    }
    return problems;
}

std::vector<std::string> UnknownArguments(const std::vector<std::string>& arguments) {
    std::vector<std::string> unknown;
    for (const std::string& argument : arguments) {
        const std::string_view trimmed = TrimView(argument);
        if (trimmed.empty()) continue;
        if (trimmed == "--help" || trimmed == "-h" || trimmed == "/?" || trimmed == "--version") continue;
        if (trimmed.front() == '/') {
            const std::size_t eq = trimmed.find('=');
            const std::string name =
                AsciiLower(trimmed.substr(1, eq == std::string_view::npos ? eq : eq - 1));
            if (name == "l" || name == "s" || name == "c" || name == "extended") continue;
            if (name == "batch" && eq == std::string_view::npos) continue;
        }
        unknown.push_back(argument);
    }
    return unknown;
}

std::string ExtractFileDir(std::string_view path) {
    size_t i = path.find_last_of(kDelimiters);
    if (i == std::string_view::npos) return {};
    // Keep the separator of a root ("/", "C:\"), drop it otherwise.
    if (i > 0 && path[i] != ':' && !IsDelimiter(path[i - 1])) return std::string(path.substr(0, i));
    return std::string(path.substr(0, i + 1));
}

bool ParseArguments(PluginContext& context, const std::vector<std::string>& arguments) {
    for (const auto& argument : arguments) ApplyArgument(context, argument);
    // A path holding a NUL cannot name a file on this platform.
    if (context.LeagueFile.find('\0') != std::string::npos ||
        context.SiteFolder.find('\0') != std::string::npos)
        return false;
    return !context.LeagueFile.empty() && !context.LeagueName.empty() && !context.SArgument.empty() &&
           !context.SiteFolder.empty();
}

std::string VersionText(const FileVersion& version) {
    std::string text = std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                       std::to_string(version.release);
    if (!version.comments.empty()) text += " - " + version.comments;
    return text;
}

std::string ReadVersionText() {
    if (std::optional<FileVersion> own = ReadFileVersion(ProgramPath())) return VersionText(*own);
    return VersionText({CALVORIN_VERSION_MAJOR, CALVORIN_VERSION_MINOR, CALVORIN_VERSION_PATCH,
                        CALVORIN_VERSION_TWEAK, CALVORIN_COMMENTS});
}

bool ExtendedFromEnvironment(const char* value) {
    if (!value) return false;
    auto n = ParseInteger(value);
    return n && *n != 0;
}

}  // namespace calvorin
