// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/FormFixture.h"

namespace calvorin {

using test::FormFixture;

namespace {

// FCM.ini naming a backup folder with FCMBKP folders in it, and an export folder.
void LayOutBackups(FormFixture& f) {
    auto backups = f.dir / "Backup";
    for (const char* name :
         {"FCMBKP20250101", "FCMBKP20250301", "fcmbkp20991231", ".FCMBKP20990101", "Altro"})
        std::filesystem::create_directories(backups / name);
    test::WriteBytes(backups / "FCMBKP20991231.txt", "a file, not a folder");
    test::WriteBytes(f.Fcm() / "FCM.ini", "[Generale]\r\nBackupCartella=" + PathText(backups) +
                                              "\r\nEsportazioniLegaCartella=" + PathText(f.dir / "Export") +
                                              "\r\n");
}

}  // namespace

TEST(BackupSource, LatestBackupIsTheGreatestVisibleFcmbkpFolder) {
    FormFixture f;
    LayOutBackups(f);
    f.form.FormShow();
    auto& b = f.form.Backup;
    EXPECT_TRUE(b.BkUltimoCheckBox.Enabled());
    EXPECT_TRUE(b.BkUltimoCheckBox.Checked());
    EXPECT_EQ(b.BkDirEdit.Text(), PathText(f.dir / "Backup" / "FCMBKP20250301"));
    EXPECT_EQ(b.BkDirEdit.Hint(), b.BkDirEdit.Text());
    EXPECT_TRUE(b.BkDirEdit.NormalColor());
    EXPECT_FALSE(b.BkDirEdit.ButtonEnabled()) << "the folder button waits until Ultimo backup is unticked";
}

// A backup folder that cannot be listed used to read as one without backups, and the run then said the
// source folder did not exist: the reason is named, up to the validation's message.
TEST(BackupSource, ABackupFolderThatCannotBeListedIsNamedWithItsReason) {
    FormFixture f;
    const auto backups = f.dir / "Backup";
    test::WriteBytes(backups, "un file al posto della cartella");
    test::WriteBytes(f.Fcm() / "FCM.ini", "[Generale]\r\nBackupCartella=" + PathText(backups) + "\r\n");
    f.form.FormShow();
    auto& b = f.form.Backup;
    ASSERT_TRUE(b.BkUltimoCheckBox.Checked());
    const std::string shown = "(nessun backup disponibile: la cartella dei backup di FCM \"" +
                              PathText(backups) + "\" non è una cartella)";
    EXPECT_EQ(b.BkDirEdit.Text(), shown);
    b.BackupCheckBox.SetChecked(true);
    b.BackupPasswordEdit.SetText("pw");
    f.form.OkButtonClick();
    ASSERT_EQ(f.desktop.errors.size(), 1u);
    EXPECT_NE(f.desktop.errors[0].find(shown), std::string::npos) << f.desktop.errors[0];
}

TEST(BackupSource, WithoutFcmBackupFolderUltimoIsUntickedAndDisabled) {
    FormFixture f;
    f.form.FormShow();
    auto& b = f.form.Backup;
    EXPECT_FALSE(b.BkUltimoCheckBox.Enabled());
    EXPECT_FALSE(b.BkUltimoCheckBox.Checked());
    EXPECT_TRUE(b.BkDirEdit.ButtonEnabled());
    EXPECT_FALSE(b.BkDirEdit.NormalColor()) << "an empty path names no folder: red";
}

TEST(BackupSource, UntickingUltimoKeepsThePathAndTheBrowserReplacesIt) {
    FormFixture f;
    LayOutBackups(f);
    f.form.FormShow();
    auto& b = f.form.Backup;
    std::string latest = b.BkDirEdit.Text();
    b.BkUltimoCheckBox.SetChecked(false);
    EXPECT_EQ(b.BkDirEdit.Text(), latest);
    EXPECT_TRUE(b.BkDirEdit.ButtonEnabled());

    f.desktop.nextFolder = PathText(f.dir / "Backup" / "Altro");
    b.BkDirEdit.onButtonClick();
    EXPECT_EQ(f.desktop.lastPickerTitle,
              "Selezionare la cartella che contiene il backup da caricare sul sito");
    EXPECT_EQ(f.desktop.lastPickerStart, latest);
    EXPECT_EQ(b.BkDirEdit.Text(), *f.desktop.nextFolder);
    EXPECT_TRUE(b.BkDirEdit.NormalColor());

    std::filesystem::remove(f.dir / "Backup" / "Altro");
    f.form.BkUltimoCheckBoxClick();  // a later refresh finds it gone
    EXPECT_FALSE(b.BkDirEdit.NormalColor());
    f.desktop.nextFolder.reset();
    b.BkDirEdit.onButtonClick();  // cancelled: nothing changes
    EXPECT_EQ(b.BkDirEdit.Text(), PathText(f.dir / "Backup" / "Altro"));

    b.BkUltimoCheckBox.SetChecked(true);
    EXPECT_EQ(b.BkDirEdit.Text(), latest);
}

TEST(BackupSource, ExportFileDialogStartsWhereItShouldAndShowsMissingFilesInRed) {
    FormFixture f;
    LayOutBackups(f);
    f.form.FormShow();
    auto& b = f.form.Backup;
    EXPECT_TRUE(b.EsFilenameEdit.Enabled());
    f.desktop.nextFile = PathText(f.dir / "Export" / "Lega.exp");
    b.EsFilenameEdit.onButtonClick();
    EXPECT_EQ(f.desktop.lastFilter, "File di esportazione di FCM (*.exp)|*.exp");
    EXPECT_EQ(f.desktop.lastPickerStart, PathText(f.dir / "Export")) << "empty field: FCM's export folder";
    EXPECT_FALSE(b.EsFilenameEdit.NormalColor()) << "the chosen file does not exist (yet)";
    test::WriteBytes(f.dir / "Export" / "Lega.exp", "x");
    b.EsFilenameEdit.onButtonClick();
    EXPECT_EQ(f.desktop.lastPickerStart, PathText(f.dir / "Export"));
    EXPECT_EQ(f.desktop.lastPickerFile, "Lega.exp");
    EXPECT_TRUE(b.EsFilenameEdit.NormalColor());
    EXPECT_EQ(b.EsFilenameEdit.Hint(), b.EsFilenameEdit.Text());
}

TEST(BackupSource, PasswordStaysUsableWhileEitherUploadIsOn) {
    FormFixture f;
    f.form.FormShow();
    auto& b = f.form.Backup;
    b.BackupCheckBox.SetChecked(false);
    EXPECT_FALSE(b.BkSorgenteGroupBox.Enabled() || b.BkDirEdit.Enabled() || b.BkUltimoCheckBox.Enabled());
    EXPECT_TRUE(b.BackupPasswordEdit.Enabled() && b.BackupNomiCasualiCheckBox.Enabled());
    b.EsportazioneCheckBox.SetChecked(false);
    EXPECT_FALSE(b.EsFilenameEdit.Enabled() || b.EsFilenameEdit.ButtonEnabled());
    EXPECT_FALSE(b.BackupPasswordEdit.Enabled() || b.BackupNomiCasualiCheckBox.Enabled());
}

}  // namespace calvorin
