// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux window model started by FCM under Wine: Windows paths in the arguments, FCM.ini and the settings
// file, mapped through a scratch Wine prefix of links.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form/MainForm.h"
#include "app/run/Validation.h"
#include "settings/IniFile.h"
#include "support/FakeDesktop.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBackupFolder = R"(c:\fcm\BACKUP\fcmbkp20250101-1200)";
constexpr const char* kExportFile = R"(C:\FCM\esportazioni\LEGA.EXP)";

// FCM's folder at C:\Fcm in a scratch prefix, its names in other case than the texts that name them.
struct WineFormFixture {
    WineFormFixture()
        : form({desktop, log, http, [] {
                    return *LocalDateTime::FromParts({2025, 9, 1, 12, 0, 0});
                }}) {
        fs::create_directories(driveC / "Fcm" / "Leghe");
        test::WriteBytes(driveC / "Fcm" / "Leghe" / "Lega-1-2025.db", "");
        fs::create_directories(driveC / "Fcm" / "Backup" / "FCMBKP20250101-1200");
        fs::create_directories(driveC / "Sito" / "js");
        test::WriteBytes(driveC / "Fcm" / "Esportazioni" / "Lega.exp", "esportazione");
        test::WriteBytes(driveC / "Fcm" / "FCM.ini",
                         "[Generale]\r\nBackupCartella=C:\\FCM\\Backup\r\nEsportazioniLegaCartella=C:\\FCM\\"
                         "Esportazioni\r\n");
        test::WriteBytes(settingsFile,
                         std::string("[Backup]\r\nUpload backup abilitato=1\r\nUltimo backup=0\r\n") +
                             "Cartella backup=" + kBackupFolder +
                             "\r\nUpload esportazione abilitato=1\r\nFile esportazione=" + kExportFile +
                             "\r\n");
        created = form.FormCreate({R"(/l=C:\Fcm\Leghe\Lega-1-2025.db)", "/s=x", R"(/c=C:\Sito)"}, nullptr);
        form.ProgramFolder = PathText(dir.path() / "programma");
    }

    test::TempDir dir;
    fs::path driveC = test::MakeScratchWinePrefix(dir / "prefix");
    test::ScopedEnv prefix{"WINEPREFIX", PathText(dir / "prefix")};
    fs::path settingsFile = driveC / "Fcm" / "Plugin" / "Calvorin_Lega-1-2025.ini";
    test::FakeDesktop desktop;
    test::NoNetwork http;
    MemoryLogSink sink;
    Log log{sink};
    TMainForm form;
    bool created = false;
};

TEST(WineSettings, LoadedFromWindowsPathsAndSavedInTheFormTheyCameIn) {
    WineFormFixture f;
    ASSERT_TRUE(f.created);
    f.form.FormShow();
    ASSERT_TRUE(f.desktop.errors.empty()) << f.desktop.errors.front();
    // The log names the files as FCM gave them.
    EXPECT_NE(f.sink.Text().find(R"(  C:\Fcm\FCM.ini)"), std::string::npos) << f.sink.Text();
    EXPECT_NE(f.sink.Text().find(R"(  C:\Fcm\plugin\Calvorin_Lega-1-2025.ini)"), std::string::npos)
        << f.sink.Text();
    EXPECT_EQ(f.form.Context.BackupFolder, R"(C:\FCM\Backup)");
    // Both sources exist once their names are matched as Windows matches them.
    EXPECT_EQ(f.form.Backup.BkDirEdit.Text(), kBackupFolder);
    EXPECT_TRUE(f.form.Backup.BkDirEdit.NormalColor());
    EXPECT_TRUE(f.form.Backup.EsFilenameEdit.NormalColor());
    f.form.Backup.BackupPasswordEdit.SetText("segreta");
    const auto failure = FirstValidationFailure(f.form);
    EXPECT_EQ(failure.value_or("").find("non esiste"), std::string::npos) << failure.value_or("");

    f.form.SaveSettings();
    EXPECT_FALSE(
        fs::exists(f.driveC / "Fcm" / "plugin"));  // the existing "Plugin" was written, no new folder
    IniFile saved = IniFile::Load(f.settingsFile);
    EXPECT_EQ(saved.ReadString("Backup", "Cartella backup", ""), kBackupFolder);
    EXPECT_EQ(saved.ReadString("Backup", "File esportazione", ""), kExportFile);

    // The latest backup, found through FCM.ini's Windows path, is kept in Windows form too.
    f.form.Backup.BkUltimoCheckBox.SetChecked(true);
    f.form.BkUltimoCheckBoxClick();
    EXPECT_EQ(f.form.Backup.BkDirEdit.Text(), R"(C:\FCM\Backup\FCMBKP20250101-1200)");
}

TEST(WineSettings, UnreachableSourcesAreRefusedWithTheReason) {
    struct Case {
        std::string folder;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {R"(Q:\Backup)", "Unità \"Q:\" non presente nel prefisso di Wine"},
        {R"(\\server\share\Backup)", R"(Percorsi di rete (UNC) non supportati: \\server\share\Backup)"},
        {R"(C:\Fcm\Manca)", ""},
    };
    for (const auto& c : cases) {
        WineFormFixture f;
        f.form.FormShow();
        f.form.Backup.BackupPasswordEdit.SetText("segreta");
        f.form.Backup.BkDirEdit.SetText(c.folder);
        f.form.BkUltimoCheckBoxClick();
        EXPECT_FALSE(f.form.Backup.BkDirEdit.NormalColor()) << c.folder;
        EXPECT_NE(f.form.Backup.BkDirEdit.Hint().find(c.reason), std::string::npos)
            << f.form.Backup.BkDirEdit.Hint();
        const auto failure = FirstValidationFailure(f.form);
        ASSERT_TRUE(failure) << c.folder;
        EXPECT_NE(failure->find("La cartella sorgente del backup non esiste.\n" + c.folder),
                  std::string::npos)
            << *failure;
        EXPECT_NE(failure->find(c.reason), std::string::npos) << *failure;
    }
}

}  // namespace
}  // namespace calvorin
