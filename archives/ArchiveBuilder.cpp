// SPDX-License-Identifier: GPL-3.0-or-later
#include "archives/ArchiveBuilder.h"

#include <exception>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "archives/EncryptedZipFile.h"
#include "platform/fs/FileError.h"
#include "platform/fs/Files.h"
#include "platform/fs/Wildcard.h"
#include "platform/text/Trim.h"
#include "settings/RandomHex.h"

namespace fs = std::filesystem;

namespace calvorin {
namespace {

void PrepareDestination(const fs::path& destination, Log& log) {
    if (DirectoryExists(destination)) {
        log.WriteLog("  - Pulizia cartella destinazione\n    <i>%s</i>", EscapeMarkup(PathText(destination)));
        DeleteMatchingFiles(destination, "FcmBackup*.zip");
        DeleteMatchingFiles(destination, "FcmExport*.zip");
    } else {
        log.WriteLog("  - Creazione cartella destinazione\n    <i>%s</i>",
                     EscapeMarkup(PathText(destination)));
        std::error_code ec;
        if (!fs::create_directory(destination, ec)) {
            if (!ec)
                ec = std::make_error_code(std::errc::file_exists);  // a file stands in the folder's place
            ThrowFileError("Impossibile creare la cartella", destination, ec);
        }
    }
    log.WriteOk(4);
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
    if (!options.soloLega) return ListMatchingFiles(folder, "*.*");
    std::vector<fs::path> files = ListMatchingFiles(folder, context.LeagueBaseName + "*.*");
    std::vector<fs::path> archive =
        ListMatchingFiles(folder, "ArchivioA" + std::to_string(context.SeasonYear) + "*.*");
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
    log.WriteOk(4);
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
        log.WriteKo(4, error.what());
        return false;
    }
}

}  // namespace calvorin
