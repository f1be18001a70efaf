// SPDX-License-Identifier: GPL-3.0-or-later
// The upload page: which backup folder and which export file the archives are built from.
#include <filesystem>

#include "app/form/MainForm.h"
#include "archives/ArchiveSources.h"
#include "platform/fs/Files.h"

namespace calvorin {
namespace {

// A source that exists is shown in the normal colour, a missing one in red; the hint repeats the text.
void ShowSource(Edit& edit, bool exists) {
    edit.SetNormalColor(exists);
    edit.SetHint(edit.Text());
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
        p.BkDirEdit.SetText(latest.value_or("(nessun backup disponibile)"));
        p.BkDirEdit.SetHint(p.BkDirEdit.Text());
    } else {
        ShowSource(p.BkDirEdit, DirectoryExists(PathFromText(p.BkDirEdit.Text())));
    }
}

void TMainForm::BkDirEditButtonClick() {
    auto folder = desktop().BrowseFolder(
        "Selezionare la cartella che contiene il backup da caricare sul sito", Backup.BkDirEdit.Text());
    if (!folder) return;
    Backup.BkDirEdit.SetText(*folder);
    BkUltimoCheckBoxClick();
}

void TMainForm::EsportazioneCheckBoxClick() {
    auto& p = Backup;
    p.EsSorgenteGroupBox.SetEnabled(p.EsportazioneCheckBox.Checked());
    p.EsFilenameEdit.SetEnabled(p.EsSorgenteGroupBox.Enabled());
    p.EsFilenameEdit.SetButtonEnabled(p.EsSorgenteGroupBox.Enabled());
    ShowSource(p.EsFilenameEdit, FileExists(PathFromText(p.EsFilenameEdit.Text())));
    UpdateSharedArchiveOptions(p);
    ApplyOkRule();
}

void TMainForm::EsFilenameEditButtonClick() {
    const std::string& current = Backup.EsFilenameEdit.Text();
    std::filesystem::path path = PathFromText(current);
    std::string folder = current.empty() ? Context.ExportFolder : PathText(path.parent_path());
    std::string file = current.empty() ? std::string() : PathText(path.filename());
    auto chosen = desktop().OpenFile("File di esportazione di FCM (*.exp)|*.exp", "exp", folder, file);
    if (!chosen) return;
    Backup.EsFilenameEdit.SetText(*chosen);
    EsportazioneCheckBoxClick();
}

}  // namespace calvorin
