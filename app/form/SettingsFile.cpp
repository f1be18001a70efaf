// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving the plug-in's settings file, and reading FCM's own.
#include <filesystem>

#include "app/form/MainForm.h"
#include "app/form/SettingsKeys.h"
#include "platform/fs/Files.h"
#include "settings/HostSettings.h"
#include "settings/IniFile.h"

namespace calvorin {
namespace {

std::filesystem::path PluginFolder(const PluginContext& c) {
    return PathFromText(c.FcmFolder) / "plugin";
}

std::filesystem::path PreviousSeasonFile(const PluginContext& c) {
    return PluginFolder(c) / ("Calvorin_" + c.LeagueName + "-" + std::to_string(c.SeasonNumber - 1) + "-" +
                              std::to_string(c.SeasonYear - 1) + ".ini");
}

}  // namespace

std::string TMainForm::SettingsFilePath() const {
    return PathText(PluginFolder(Context) / ("Calvorin_" + Context.LeagueBaseName + ".ini"));
}

void TMainForm::LoadHostSettings() {
    calvorin::LoadHostSettings(Context, log());
}

void TMainForm::LoadSettings() {
    log().WriteHeading("Caricamento impostazioni di Calvorin");
    std::filesystem::path candidate = PathFromText(SettingsFilePath());
    if (!FileExists(candidate) && Context.SeasonYear >= 2) {
        candidate = PreviousSeasonFile(Context);
        if (!FileExists(candidate)) candidate = PathFromText(ProgramFolder) / "Calvorin.ini";
    }
    if (FileExists(candidate)) log().WriteLog("  <i>%s</i>", EscapeMarkup(PathText(candidate)));
    IniFile ini = IniFile::Load(candidate);
    for (const auto& key : SettingsKeys(*this))
        if (key.load) key.load(ini);
}

void TMainForm::SaveSettings() {
    std::filesystem::create_directories(PluginFolder(Context));
    std::filesystem::path file = PathFromText(SettingsFilePath());
    IniFile ini = IniFile::Load(file);
    ini.Clear();
    log().WriteHeading("Salvataggio impostazioni Calvorin");
    log().WriteLog("  <i>%s</i>", EscapeMarkup(PathText(file)));
    for (const auto& key : SettingsKeys(*this))
        if (key.save) key.save(ini);
    ini.Save(file);
}

}  // namespace calvorin
