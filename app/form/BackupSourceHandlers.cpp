// SPDX-License-Identifier: GPL-3.0-or-later
// The upload page: which backup folder and which export file the archives are built from.
#include <filesystem>

#include "app/form/MainForm.h"
#include "app/startup/Arguments.h"
#include "archives/ArchiveSources.h"
#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"

namespace calvorin {
namespace {

// A source that exists is shown in the normal colour, a missing one in red; the hint repeats the text and
// says why a path that cannot be mapped (a drive Wine lacks, a network path) is unreachable.
void ShowSource(Edit& edit, bool folder) {
    const std::string& text = edit.Text();
    if (auto problem = PathTextProblem(text)) {
        edit.SetNormalColor(false);
        edit.SetHint(text + "\n" + *problem);
        return;
    }
    const std::filesystem::path path = PathFromText(text);
    edit.SetNormalColor(folder ? DirectoryExists(path) : FileExists(path));
    edit.SetHint(text);
}

// Both archives share the password and the random-name option: usable while either upload is on.
void UpdateSharedArchiveOptions(BackupPage& p) {
    p.BackupPasswordEdit.SetEnabled(p.BackupCheckBox.Checked() || p.EsportazioneCheckBox.Checked());
    p.BackupNomiCasualiCheckBox.SetEnabled(p.BackupPasswordEdit.Enabled());
}

}  // namespace

void TMainForm::BackupCheckBoxClick() {
    auto& p = Backup;
    bool on = p.BackupCheckBox.Checked();
    bool known = !Context.BackupFolder.empty();
    p.BkSorgenteGroupBox.SetEnabled(on);
    p.BkUltimoCheckBox.SetEnabled(on && known);
    if (on && !known) p.BkUltimoCheckBox.SetChecked(false);
    p.BkDirEdit.SetEnabled(on);
    BkUltimoCheckBoxClick();
    UpdateSharedArchiveOptions(p);
    ApplyOkRule();
}

void TMainForm::BkUltimoCheckBoxClick() {
    auto& p = Backup;
    p.BkDirEdit.SetButtonEnabled(p.BkDirEdit.Enabled() && !p.BkUltimoCheckBox.Checked());
    if (p.BkUltimoCheckBox.Checked()) {
        auto latest = FindLatestBackup(Context.BackupFolder);
        p.BkDirEdit.SetNormalColor(true);
        // A folder that cannot be read is not one without backups: the text says which it is.
        std::string none = "(nessun backup disponibile)";
        if (auto problem = latest ? std::nullopt : BackupFolderProblem(Context.BackupFolder))
            none = "(nessun backup disponibile: la cartella dei backup di FCM \"" + Context.BackupFolder +
                   "\" " + *problem + ")";
        p.BkDirEdit.SetText(latest.value_or(none));
        p.BkDirEdit.SetHint(p.BkDirEdit.Text());
    } else {
        ShowSource(p.BkDirEdit, true);
    }
}

void TMainForm::BkDirEditButtonClick() {
    auto folder =
        desktop().BrowseFolder("Selezionare la cartella che contiene il backup da caricare sul sito",
                               DialogStartText(Backup.BkDirEdit.Text()));
    if (!folder) return;
    Backup.BkDirEdit.SetText(*folder);
    BkUltimoCheckBoxClick();
}

void TMainForm::EsportazioneCheckBoxClick() {
    auto& p = Backup;
    p.EsSorgenteGroupBox.SetEnabled(p.EsportazioneCheckBox.Checked());
    p.EsFilenameEdit.SetEnabled(p.EsSorgenteGroupBox.Enabled());
    p.EsFilenameEdit.SetButtonEnabled(p.EsSorgenteGroupBox.Enabled());
    ShowSource(p.EsFilenameEdit, false);
    UpdateSharedArchiveOptions(p);
    ApplyOkRule();
}

void TMainForm::EsFilenameEditButtonClick() {
    const std::string& current = Backup.EsFilenameEdit.Text();
    // Split as text: a Windows path's "\" is a separator here too.
    std::string folder = current.empty() ? Context.ExportFolder : ExtractFileDir(current);
    const std::size_t slash = current.find_last_of("/\\:");
    std::string file = slash == std::string::npos ? current : current.substr(slash + 1);
    auto chosen =
        desktop().OpenFile("File di esportazione di FCM (*.exp)|*.exp", "exp", DialogStartText(folder), file);
    if (!chosen) return;
    Backup.EsFilenameEdit.SetText(*chosen);
    EsportazioneCheckBoxClick();
}

}  // namespace calvorin
