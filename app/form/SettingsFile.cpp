// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving the plug-in's settings file, and reading FCM's own.
#include <filesystem>

#include "app/form/MainForm.h"
#include "app/form/SettingsKeys.h"
#include "platform/fs/FileError.h"
#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"
#include "platform/os/Folder.h"
#include "platform/os/NativeFile.h"
#include "platform/text/Trim.h"
#include "plugin/log/Markup.h"
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
    const std::string own = SettingsFilePath();
    std::string candidate = own;
    FileInfo info;
    // The older files stand in only for a missing one: anything else in its place is reported below.
    if (KindOf(PathInfo(PathFromText(own), info)) == ErrorKind::NotFound && Context.SeasonYear >= 2) {
        candidate = PreviousSeasonFile(Context);
        if (!FileExists(PathFromText(candidate))) candidate = JoinPathText(ProgramFolder, {"Calvorin.ini"});
    }
    const std::filesystem::path file = PathFromText(candidate);
    const bool present = KindOf(PathInfo(file, info)) != ErrorKind::NotFound;
    if (present) log().WriteLog("  <i>%s</i>", EscapeMarkup(candidate));
    IniFile ini;
    settingsProblem_.reset();
    try {
        const std::string bytes = present ? ReadFileBytes(file) : std::string();
        ini = IniFile::Parse(bytes);
        if (!TrimView(bytes).empty() && !HoldsSettings(ini))
            settingsProblem_ = "Il file non contiene impostazioni di Calvorin";
    } catch (const std::exception& e) {
        settingsProblem_ = FlattenMessage(e.what());
        ini = IniFile{};
    }
    if (settingsProblem_) {
        log().WriteLog("  <red>%s: si usano le impostazioni predefinite</color>",
                       EscapeMarkup(*settingsProblem_));
        // What was there is kept aside at the first save, never simply overwritten.
        keepBeforeSaving_ = candidate == own;
    }
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
    if (keepBeforeSaving_) {
        FileInfo info;
        if (KindOf(PathInfo(file, info)) != ErrorKind::NotFound) {
            const std::string kept = shown + ".bak";
            if (const SystemError error = RenameOver(file, PathFromText(kept)))
                ThrowFileError("Impossibile conservare il file precedente", file, error);
            log().WriteLog("  Il file precedente è conservato come <i>%s</i>", EscapeMarkup(kept));
        }
        keepBeforeSaving_ = false;
    }
    IniFile ini;
    try {
        ini = IniFile::Load(file);  // for its encoding: a file saved in UTF-16 stays so
    } catch (const std::exception&) {
        // Unreadable, it was reported when loading; the new file takes the usual encoding.
    }
    ini.ReplaceEntries(values);
    if (const std::optional<std::string> warning = ini.Save(file)) log().WriteWarning(2, *warning);
}

}  // namespace calvorin
