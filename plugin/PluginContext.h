// SPDX-License-Identifier: GPL-3.0-or-later
// The values fixed at start-up from the command line, the environment and FCM's settings.
#pragma once

#include <cstdint>
#include <string>

namespace calvorin {

// Filled once at start-up (and BackupFolder/ExportFolder when the window is shown); read-only after.
// Texts are UTF-8; an empty text means the value is absent.
struct PluginContext {
    std::string Version;         // "2.4.0", optionally " - " and a comment
    bool Extended = false;       // extended mode
    std::string LeagueFile;      // full path of the league database
    std::string LeagueBaseName;  // league file name without folder and extension
    std::string LeagueName;      // first group of the base name
    std::int32_t SeasonNumber = 0;
    std::int32_t SeasonYear = 0;
    std::string FcmFolder;     // parent of the league file's folder: FCM.ini and plugin/
    std::string SiteFolder;    // the website folder
    std::string SArgument;     // required, unused
    std::string BackupFolder;  // from FCM.ini
    std::string ExportFolder;  // from FCM.ini
};

// The application title: caption, message boxes, User-Agent, passphrase of stored secrets.
inline constexpr const char* kApplicationTitle = "Calvorin";

}  // namespace calvorin
