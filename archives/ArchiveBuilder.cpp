// SPDX-License-Identifier: GPL-3.0-or-later
#include "archives/ArchiveBuilder.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "archives/EncryptedZipFile.h"
#include "platform/crypto/RandomHex.h"
#include "platform/fs/FileError.h"
#include "platform/fs/Files.h"
#include "platform/fs/PendingFile.h"
#include "platform/fs/Wildcard.h"
#include "platform/fs/WinePath.h"
#include "platform/os/Folder.h"
#include "platform/text/Trim.h"

namespace fs = std::filesystem;

namespace calvorin {
namespace {

constexpr const char* kArchiveMasks[] = {"FcmBackup*.zip", "FcmExport*.zip"};

// Creates the folder when missing; otherwise removes the partial archives a killed run left. Returns
// whether the folder was there already.
bool PrepareDestination(const fs::path& destination, const std::string& shown, Log& log) {
    if (DirectoryExists(destination)) {
        for (const char* mask : kArchiveMasks) RemoveStaleTemporaries(destination, mask);
        return true;
    }
    log.WriteLog("  - Creazione cartella destinazione\n    <i>%s</i>", EscapeMarkup(shown));
    // A file standing in the folder's place is an AlreadyExists failure, as any other in the way.
    if (const SystemError error = CreateFolder(destination))
        ThrowFileError("Impossibile creare la cartella", destination, error);
    log.WriteOk(4);
    return false;
}

// Only once every new archive is in place: until then the previous ones are what the site offers.
void RemovePreviousArchives(const fs::path& destination, const std::string& shown,
                            const std::vector<fs::path>& built, Log& log) {
    log.WriteLog("  - Pulizia cartella destinazione\n    <i>%s</i>", EscapeMarkup(shown));
    for (const char* mask : kArchiveMasks) DeleteMatchingFiles(destination, mask, built);
    log.WriteOk(4);
}

fs::path ArchivePath(const fs::path& destination, const std::string& baseName, bool randomNames) {
    return destination / Utf8Path(baseName + (randomNames ? "_" + RandomHex(8) : std::string()) + ".zip");
}

// Each file once, even when two masks match it: a duplicate name would make the archive ambiguous.
void WriteArchive(TEncryptedZipFile& zip, const std::vector<fs::path>& files) {
    std::set<std::string> added;
    for (const fs::path& file : files) {
        std::string name = PathText(file.filename());
        if (added.insert(name).second) zip.Add(file, name);
    }
}

// Written under a temporary name that the archive masks do not match, renamed into place when complete:
// a failure or a kill leaves the previous archive of the same name as it was.
void BuildOneArchive(const fs::path& archive, const std::vector<fs::path>& files, const std::string& password,
                     Log& log) {
    PendingFile pending(archive, NewFileMode::OwnerOnly);
    {
        // The bytes to pack as the files are now; one that grows meanwhile shows a little over 100 %.
        std::uint64_t total = 0, done = 0;
        for (const fs::path& file : files) {
            FileInfo info;
            if (!PathInfo(file, info)) total += info.size;
        }
        struct EndProgress {
            Log& log;
            ~EndProgress() { log.EndProgress(); }
        } endProgress{log};
        TEncryptedZipFile zip(password);  // its destructor ends the archive when an add fails
        zip.SetProgress([&](std::uint64_t bytes) { log.Progress(done += bytes, std::max(total, done)); });
        zip.Open(pending.File());
        WriteArchive(zip, files);
        zip.Close();
    }
    log.Checkpoint();  // a stop asked during the last piece still leaves the previous archive in place
    if (const std::optional<std::string> warning = pending.Commit()) log.WriteWarning(4, *warning);
}

// The regular files of the folder that match the mask. A folder is no part of a backup; anything else the
// mask takes (a FIFO, a device, a broken link) cannot be packed, and is named in the log as left out.
std::vector<fs::path> BackupFilesMatching(const fs::path& folder, std::string_view mask, Log& log) {
    std::vector<FolderEntry> entries;
    if (const SystemError error = ListFolder(folder, entries))
        ThrowFileError("Impossibile leggere la cartella", folder, error);
    std::vector<fs::path> files;
    for (FolderEntry& entry : entries) {
        const std::string name = PathText(entry.path.filename());
        if (entry.type == FileType::Directory || !MatchesWildcard(mask, name)) continue;
        if (entry.type == FileType::Regular) {
            files.push_back(std::move(entry.path));
        } else {
            log.WriteLog("    <i>%s</i> lasciato fuori dall'archivio: %s", EscapeMarkup(name),
                         NotAFileReason(entry.type));
        }
    }
    return files;
}

std::vector<fs::path> BackupFiles(const ArchiveOptions& options, const PluginContext& context, Log& log) {
    fs::path folder = PathFromText(Trim(options.backupFolder));
    if (!options.soloLega) return BackupFilesMatching(folder, "*.*", log);
    std::vector<fs::path> files = BackupFilesMatching(folder, context.LeagueBaseName + "*.*", log);
    std::vector<fs::path> archive =
        BackupFilesMatching(folder, "ArchivioA" + std::to_string(context.SeasonYear) + "*.*", log);
    files.insert(files.end(), archive.begin(), archive.end());
    return files;
}

// The export file is a path chosen in a file dialog, not a pattern: taken literally.
std::vector<fs::path> ExportFiles(const ArchiveOptions& options) {
    const std::string shown = Trim(options.exportFile);
    fs::path file = PathFromText(shown);
    if (!FileExists(file)) throw std::runtime_error("Il file di esportazione non esiste: \"" + shown + "\"");
    return {file};
}

// One archive step: heading, archive path, the archive built from the files `listFiles` gives, OK.
template <typename ListFiles>
void ArchiveStep(Log& log, const char* heading, const fs::path& archive, const std::string& shownFolder,
                 const std::string& password, ListFiles&& listFiles, std::vector<fs::path>& built) {
    log.WriteLog(heading);
    log.WriteLog("    <i>%s</i>", EscapeMarkup(JoinPathText(shownFolder, {PathText(archive.filename())})));
    BuildOneArchive(archive, listFiles(), password, log);
    built.push_back(archive);
    log.WriteOk(4);
}

void Build(const ArchiveOptions& options, const PluginContext& context, Log& log) {
    // An empty site folder would put backup/ in the working folder.
    if (context.SiteFolder.empty()) throw std::runtime_error("Cartella del sito non specificata");
    const std::string shown = JoinPathText(context.SiteFolder, {"backup"});
    const fs::path destination = PathFromText(shown);
    const std::string password = Trim(options.password);
    const bool existed = PrepareDestination(destination, shown, log);
    std::vector<fs::path> built;
    if (options.backupEnabled) {
        ArchiveStep(
            log, "  - Creazione archivio con i file di backup",
            ArchivePath(destination, "FcmBackup", options.randomNames), shown, password,
            [&] { return BackupFiles(options, context, log); }, built);
    }
    if (options.exportEnabled) {
        ArchiveStep(
            log, "  - Creazione archivio con il file di esportazione",
            ArchivePath(destination, "FcmExport", options.randomNames), shown, password,
            [&] { return ExportFiles(options); }, built);
    }
    if (!existed) return;
    log.Checkpoint();
    RemovePreviousArchives(destination, shown, built, log);
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
