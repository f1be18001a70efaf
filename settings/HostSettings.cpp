// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/HostSettings.h"

#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"
#include "settings/IniFile.h"

namespace calvorin {

void LoadHostSettings(PluginContext& context, Log& log) {
    const std::string shown = JoinPathText(context.FcmFolder, {"FCM.ini"});
    log.WriteHeading("Caricamento impostazioni di FCM");
    const std::filesystem::path file = PathFromText(shown);
    if (!FileExists(file)) return;
    log.WriteLog("  <i>%s</i>", EscapeMarkup(shown));
    IniFile ini = IniFile::Load(file);
    std::vector<std::string> sections = ini.Sections();
    if (sections.empty()) return;
    context.BackupFolder = ini.ReadString(sections.front(), "BackupCartella", "");
    context.ExportFolder = ini.ReadString(sections.front(), "EsportazioniLegaCartella", "");
}

}  // namespace calvorin
