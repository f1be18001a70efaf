// SPDX-License-Identifier: GPL-3.0-or-later
#include "archives/ArchiveBuilder.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "archives/ArchiveSources.h"
#include "archives/EncryptedZipFile.h"
#include "platform/fs/Files.h"
#include "platform/text/Trim.h"
#include "settings/RandomHex.h"

namespace fs = std::filesystem;

namespace calvorin {
namespace {

// Files of one folder whose names match a wildcard pattern.
struct Mask {
    fs::path folder;
    std::string pattern;
};

[[noreturn]] void ThrowSystem(const std::string& what, const fs::path& path, const std::error_code& ec) {
    throw std::runtime_error(what + " \"" + PathText(path) + "\": " + ec.message());
}

bool IsRegularFile(const fs::directory_entry& entry) {
    std::error_code ec;
    return entry.is_regular_file(ec);
}

// Regular files directly in the folder (hidden ones too) whose names match, in the listing's order.
std::vector<fs::path> ListMatches(const Mask& mask) {
    std::vector<fs::path> files;
    std::error_code ec;
    fs::directory_iterator it(mask.folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (IsRegularFile(*it) && MatchesWildcard(mask.pattern, it->path().filename().string()))
            files.push_back(it->path());
    }
    if (ec) ThrowSystem("Impossibile leggere la cartella", mask.folder, ec);
    return files;
}

void DeleteMatches(const Mask& mask) {
    for (const fs::path& file : ListMatches(mask)) {
        std::error_code ec;
        if (!fs::remove(file, ec) && ec) ThrowSystem("Impossibile eliminare il file", file, ec);
    }
}

void PrepareDestination(const fs::path& destination, Log& log) {
    if (DirectoryExists(destination)) {
        log.WriteLog("  - Pulizia cartella destinazione\n    <i>%s</i>", EscapeMarkup(PathText(destination)));
        DeleteMatches({destination, "FcmBackup*.zip"});
        DeleteMatches({destination, "FcmExport*.zip"});
    } else {
        log.WriteLog("  - Creazione cartella destinazione\n    <i>%s</i>",
                     EscapeMarkup(PathText(destination)));
        std::error_code ec;
        if (!fs::create_directory(destination, ec)) {
            if (!ec)
                ec = std::make_error_code(std::errc::file_exists);  // a file stands in the folder's place
            ThrowSystem("Impossibile creare la cartella", destination, ec);
        }
    }
    log.WriteLog("    %s", OkText);
}

fs::path ArchivePath(const fs::path& destination, const std::string& baseName, bool randomNames) {
    return destination / (baseName + (randomNames ? "_" + RandomHex(8) : std::string()) + ".zip");
}

// Each file once, even when two masks match it: a duplicate name would make the archive ambiguous.
void WriteArchive(TEncryptedZipFile& zip, const std::vector<fs::path>& files) {
    std::set<std::string> added;
    for (const fs::path& file : files) {
        std::string name = file.filename().string();
        if (added.insert(name).second) zip.Add(file, name);
    }
}

void BuildOneArchive(const fs::path& archive, const std::vector<fs::path>& files,
                     const std::string& password) {
    TEncryptedZipFile zip(password);  // its destructor closes the archive when an add fails
    zip.Open(archive);
    WriteArchive(zip, files);
    zip.Close();
}

std::vector<fs::path> BackupFiles(const ArchiveOptions& options, const PluginContext& context) {
    fs::path folder = PathFromText(Trim(options.backupFolder));
    if (!options.soloLega) return ListMatches({folder, "*.*"});
    std::vector<fs::path> files = ListMatches({folder, context.LeagueBaseName + "*.*"});
    std::vector<fs::path> archive =
        ListMatches({folder, "ArchivioA" + std::to_string(context.SeasonYear) + "*.*"});
    files.insert(files.end(), archive.begin(), archive.end());
    return files;
}

// The export file is a path chosen in a file dialog, not a pattern: taken literally.
std::vector<fs::path> ExportFiles(const ArchiveOptions& options) {
    fs::path file = PathFromText(Trim(options.exportFile));
    if (!FileExists(file)) {
        throw std::runtime_error("Il file di esportazione non esiste: \"" + PathText(file) + "\"");
    }
    return {file};
}

// One archive step: heading, archive path, the archive built from the files `listFiles` gives, OK.
template <typename ListFiles>
void ArchiveStep(Log& log, const char* heading, const fs::path& archive, const std::string& password,
                 ListFiles&& listFiles) {
    log.WriteLog(heading);
    log.WriteLog("    <i>%s</i>", EscapeMarkup(PathText(archive)));
    BuildOneArchive(archive, listFiles(), password);
    log.WriteLog("    %s", OkText);
}

void Build(const ArchiveOptions& options, const PluginContext& context, Log& log) {
    // An empty site folder would put backup/ in the working folder.
    if (context.SiteFolder.empty()) throw std::runtime_error("Cartella del sito non specificata");
    const fs::path destination = PathFromText(context.SiteFolder) / "backup";
    const std::string password = Trim(options.password);
    PrepareDestination(destination, log);
    if (options.backupEnabled) {
        ArchiveStep(log, "  - Creazione archivio con i file di backup",
                    ArchivePath(destination, "FcmBackup", options.randomNames), password,
                    [&] { return BackupFiles(options, context); });
    }
    if (options.exportEnabled) {
        ArchiveStep(log, "  - Creazione archivio con il file di esportazione",
                    ArchivePath(destination, "FcmExport", options.randomNames), password,
                    [&] { return ExportFiles(options); });
    }
}

}  // namespace

bool BuildArchives(const ArchiveOptions& options, const PluginContext& context, Log& log) {
    try {
        Build(options, context, log);
        return true;
    } catch (const std::exception& error) {
        log.WriteLog("    %s: %s", KoText, EscapeMarkup(FlattenMessage(error.what())));
        return false;
    }
}

}  // namespace calvorin
