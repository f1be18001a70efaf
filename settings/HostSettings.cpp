// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/HostSettings.h"

#include "platform/fs/Files.h"
#include "settings/IniFile.h"

namespace calvorin {

void LoadHostSettings(PluginContext& context, Log& log) {
    std::filesystem::path file = PathFromText(context.FcmFolder + "/FCM.ini");
    log.WriteHeading("Caricamento impostazioni di FCM");
    if (!FileExists(file)) return;
    log.WriteLog("  <i>%s</i>", EscapeMarkup(PathText(file)));
    IniFile ini = IniFile::Load(file);
    std::vector<std::string> sections = ini.Sections();
    if (sections.empty()) return;
    context.BackupFolder = ini.ReadString(sections.front(), "BackupCartella", "");
    context.ExportFolder = ini.ReadString(sections.front(), "EsportazioniLegaCartella", "");
}

}  // namespace calvorin
