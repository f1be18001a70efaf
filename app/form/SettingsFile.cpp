// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving the plug-in's settings file, and reading FCM's own.
#include <filesystem>

#include "app/form/MainForm.h"
#include "app/form/SettingsKeys.h"
#include "platform/fs/FileError.h"
#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"
#include "platform/os/Folder.h"
#include "settings/HostSettings.h"
#include "settings/IniFile.h"

namespace calvorin {
namespace {

// Paths stay texts in the form FCM gave them, so the log shows them as the president knows them.
std::string PluginFolder(const PluginContext& c) {
    return JoinPathText(c.FcmFolder, {"plugin"});
}

std::string PreviousSeasonFile(const PluginContext& c) {
    return JoinPathText(PluginFolder(c),
                        {"Calvorin_" + c.LeagueName + "-" + std::to_string(c.SeasonNumber - 1) + "-" +
                         std::to_string(c.SeasonYear - 1) + ".ini"});
}

}  // namespace

std::string TMainForm::SettingsFilePath() const {
    return JoinPathText(PluginFolder(Context), {"Calvorin_" + Context.LeagueBaseName + ".ini"});
}

void TMainForm::LoadHostSettings() {
    calvorin::LoadHostSettings(Context, log());
}

void TMainForm::LoadSettings() {
    log().WriteHeading("Caricamento impostazioni di Calvorin");
    std::string candidate = SettingsFilePath();
    if (!FileExists(PathFromText(candidate)) && Context.SeasonYear >= 2) {
        candidate = PreviousSeasonFile(Context);
        if (!FileExists(PathFromText(candidate))) candidate = JoinPathText(ProgramFolder, {"Calvorin.ini"});
    }
    const std::filesystem::path file = PathFromText(candidate);
    if (FileExists(file)) log().WriteLog("  <i>%s</i>", EscapeMarkup(candidate));
    IniFile ini = IniFile::Load(file);
    for (const auto& key : SettingsKeys(*this))
        if (key.load) key.load(ini);
}

IniFile TMainForm::SettingsSnapshot() {
    IniFile values;
    for (const auto& key : SettingsKeys(*this))
        if (key.save) key.save(values);
    return values;
}

void TMainForm::SaveSettings() {
    SaveSettings(SettingsSnapshot());
}

void TMainForm::SaveSettings(const IniFile& values) {
    const std::string shown = SettingsFilePath();
    log().WriteHeading("Salvataggio impostazioni Calvorin");
    log().WriteLog("  <i>%s</i>", EscapeMarkup(shown));
    const std::filesystem::path folder = PathFromText(PluginFolder(Context));
    if (const SystemError error = CreateFolders(folder))
        ThrowFileError("Impossibile creare la cartella", folder, error);
    std::filesystem::path file = PathFromText(shown);
    IniFile ini = IniFile::Load(file);  // for its encoding: a file saved in UTF-16 stays so
    ini.ReplaceEntries(values);
    ini.Save(file);
}

}  // namespace calvorin
