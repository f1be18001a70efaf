// SPDX-License-Identifier: GPL-3.0-or-later
// Lays out a complete FCM environment around a demo league: FCM's folder, backups, export and website.
#pragma once

#include <filesystem>
#include <string>

#include "tools/demo/DemoLeague.h"

namespace calvorin::demo {

// The league file's format: FCM's own Access file, or an SQLite copy with the same tables.
enum class LeagueFormat { Access, Sqlite };

// Where the environment's main pieces are, all absolute.
struct DemoPaths {
    std::filesystem::path fcmFolder;   // <root>/FCM
    std::filesystem::path leagueFile;  // <root>/FCM/Leghe/Fantalega-1-2025.mdb (.db in SQLite)
    std::filesystem::path siteFolder;  // <root>/Sito
    std::filesystem::path exportFile;  // <root>/FCM/Esportazioni/Fantalega-1-2025.exp
    std::filesystem::path latestBackup;
    std::filesystem::path pluginSettings;  // <root>/FCM/plugin/Calvorin_Fantalega-1-2025.ini
    std::filesystem::path passwords;       // <root>/passwords.txt
};

// Returns the paths of the environment rooted at `root` (made absolute).
DemoPaths DemoLayout(const std::filesystem::path& root, LeagueFormat format = LeagueFormat::Access);

// Writes the league file and every other file of the environment below `root`, creating folders as
// needed and replacing earlier demo files. Throws std::runtime_error or std::filesystem::filesystem_error.
DemoPaths WriteDemoEnvironment(const std::filesystem::path& root, const DemoLeague& league,
                               LeagueFormat format = LeagueFormat::Access);

// The arguments that start Calvorin on the environment: "/l=<league> /s=demo /c=<site>".
std::string LaunchArguments(const DemoPaths& paths);

}  // namespace calvorin::demo
