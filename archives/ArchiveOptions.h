// SPDX-License-Identifier: GPL-3.0-or-later
// The options of the "Upload backup" page that the archive builder reads.
#pragma once

#include <string>

namespace calvorin {

// Texts as the page holds them (UTF-8, untrimmed: the builder trims them).
struct ArchiveOptions {
    bool backupEnabled = true;  // build the backup archive
    bool soloLega = false;      // only the league's files go into the backup archive
    std::string backupFolder;   // the backup folder to pack
    bool exportEnabled = true;  // build the export archive
    std::string exportFile;     // the league's export file
    std::string password;       // of both archives; empty (after trimming) means no encryption
    bool randomNames = false;   // FcmBackup_<token>.zip instead of FcmBackup.zip
};

}  // namespace calvorin
