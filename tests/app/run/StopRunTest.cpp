// SPDX-License-Identifier: GPL-3.0-or-later
// Stopping a run: at any moment the user can, the site keeps whole files and the settings stay unsaved;
// and the options the run uses are the ones of the moment OK was pressed.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "fixtures/LeagueFixture.h"
#include "support/FormFixture.h"
#include "support/zip/ZipReader.h"
#include "tools/demo/LeagueSchema.h"

namespace calvorin {

using test::FormFixture;

namespace {

namespace fs = std::filesystem;

const char* const kOutputs[] = {
    "js/fcmInvioFormazioneDati.js", "invform/invform.inc.php", "js/fcmSerieADati.js",
    "js/fcmVariabiliCalvorin.js",   "backup/FcmBackup.zip",    "backup/FcmExport.zip",
};

const std::string kSerieAFile = "var arrSquadreA=new Array()\r\n";

// Every feature on over a small league, a backup of several pieces and an export file; each output
// present from an earlier run, with bytes that tell it apart.
void EveryFeature(FormFixture& f) {
    demo::WriteLeagueSqlite(test::SmallLeague(), PathFromText(f.leagueFile));
    f.form.FormShow();
    TMainForm& form = f.form;
    form.InvioFormazione.InvioFormazioneCheckBox.SetChecked(true);
    form.EMail.IfInviaEMailCheckBox.SetChecked(false);
    form.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);
    const fs::path backup = f.Root() / "FCM" / "Backup";
    fs::create_directories(backup);
    std::string piece(std::size_t{3} << 20, '\0');
    for (std::size_t i = 0; i < piece.size(); ++i) piece[i] = static_cast<char>(i * 7919 % 251);
    test::WriteBytes(backup / "Lega-1-2025.bak", piece);
    test::WriteBytes(f.Root() / "FCM" / "Lega.exp", "esportazione");
    form.Backup.BackupCheckBox.SetChecked(true);
    form.Backup.BkUltimoCheckBox.SetChecked(false);
    form.Backup.BkDirEdit.SetText(PathText(backup));
    form.Backup.EsportazioneCheckBox.SetChecked(true);
    form.Backup.EsFilenameEdit.SetText(PathText(f.Root() / "FCM" / "Lega.exp"));
    form.Backup.BackupPasswordEdit.SetText("pw");
    form.Backup.BackupNomiCasualiCheckBox.SetChecked(false);
    fs::create_directories(f.Site() / "backup");
    for (const char* output : kOutputs) test::WriteBytes(f.Site() / output, std::string("prima: ") + output);
    test::WriteBytes(f.Site() / "js" / "fcmSerieADati.js", kSerieAFile);
}

std::map<std::string, std::string> Outputs(const FormFixture& f) {
    std::map<std::string, std::string> files;
    for (const char* output : kOutputs) files[output] = test::ReadBytes(f.Site() / output);
    return files;
}

// The PHP file holds fresh salts each run; the rest of it is the same.
std::string WithoutHashes(const std::string& php) {
    return std::regex_replace(php, std::regex(R"(\$5\$[^"']*)"), "$5$");
}

// The names and contents of an archive, read back with its password.
std::map<std::string, std::string> ArchiveContents(const std::string& bytes) {
    MemoryByteSource source(bytes);
    ZipReader zip(source, "pw");
    std::map<std::string, std::string> contents;
    for (const auto& entry : zip.Entries()) contents[entry.name] = zip.ExtractToString(entry);
    return contents;
}

bool SameNewFile(const std::string& name, const std::string& got, const std::string& expected) {
    if (name.ends_with(".zip")) return ArchiveContents(got) == ArchiveContents(expected);
    if (name.ends_with(".php")) return WithoutHashes(got) == WithoutHashes(expected);
    return got == expected;
}

}  // namespace

// A stop at each moment the window takes input during a full run: the user answers yes at the n-th.
TEST(StopRun, AStopAtAnyMomentLeavesEachFileAsBeforeOrWholeAndSavesNothing) {
    std::map<std::string, std::string> finished;
    int eventsBeforeLastStep = 0, events = 0;
    {
        FormFixture f;
        EveryFeature(f);
        const int start = f.desktop.pendingEventCalls;
        f.desktop.onPendingEvents = [&] {
            if (f.sink.LastLine().find("fcmVariabiliCalvorin.js") != std::string::npos &&
                !eventsBeforeLastStep)
                eventsBeforeLastStep = f.desktop.pendingEventCalls - start - 1;
        };
        f.form.OkButtonClick();
        ASSERT_EQ(f.form.LastRunOutcome(), RunOutcome::Succeeded) << f.sink.Text();
        finished = Outputs(f);
        events = f.desktop.pendingEventCalls - start;
    }
    ASSERT_GT(eventsBeforeLastStep, 10);
    bool stoppedWhilePacking = false;
    for (int n = 1; n <= events; ++n) {
        SCOPED_TRACE("stop at input " + std::to_string(n));
        FormFixture f;
        EveryFeature(f);
        const auto before = Outputs(f);
        f.desktop.confirmAnswer = true;
        const int start = f.desktop.pendingEventCalls;
        f.desktop.onPendingEvents = [&] {
            if (f.desktop.pendingEventCalls - start == n) f.form.CancelButton.Click();
        };
        f.form.OkButtonClick();
        if (n > eventsBeforeLastStep) {
            // Too late for the last step: the run is done and says so.
            EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Succeeded);
            continue;
        }
        const std::string& log = f.sink.Text();
        EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Cancelled);
        EXPECT_NE(log.find("KO: Procedura interrotta dall'utente\n"), std::string::npos) << log;
        EXPECT_EQ(f.sink.LastLine(), "Operazione annullata");
        EXPECT_FALSE(fs::exists(f.SettingsFile()));
        EXPECT_EQ(f.desktop.closeCalls, 0) << "the window stays open";
        stoppedWhilePacking |= log.find("FcmBackup.zip\n    KO: Procedura interrotta") != std::string::npos;
        const auto after = Outputs(f);
        for (const auto& [name, bytes] : after) {
            SCOPED_TRACE(name);
            EXPECT_TRUE(bytes == before.at(name) || SameNewFile(name, bytes, finished.at(name)));
        }
        EXPECT_EQ(after.at(kOutputs[0]) == before.at(kOutputs[0]),
                  after.at(kOutputs[1]) == before.at(kOutputs[1]))
            << "the line-up's two files go together";
        for (const char* folder : {"js", "invform", "backup"})
            for (const auto& entry : fs::directory_iterator(f.Site() / folder))
                EXPECT_TRUE(after.contains(std::string(folder) + "/" + PathText(entry.path().filename())))
                    << "left behind: " << entry.path();
    }
    EXPECT_TRUE(stoppedWhilePacking);
}

TEST(StopRun, TheRunUsesTheOptionsAndSavesTheSettingsOfTheMomentOkWasPressed) {
    FormFixture f;
    f.form.FormShow();
    f.StartTimeExportOnly();
    f.form.InvioFormazione.IfScriptServerEdit.SetText("invform/al-via.php");
    test::WriteBytes(f.Site() / "js" / "fcmSerieADati.js", kSerieAFile);
    // At the first chance the user changes everything the window would still let through.
    f.desktop.onPendingEvents = [&] {
        if (!f.form.Running()) return;
        f.form.DateOrari.EsportaDateOrariCheckBox.SetChecked(false);
        f.form.InvioFormazione.InvioFormazioneCheckBox.SetChecked(true);
        f.form.InvioFormazione.IfScriptServerEdit.SetText("invform/dopo.php");
        f.form.DateOrari.DoAggiornaButton.Click();
        f.form.Orari.OrariSerieA[0] = *LocalDateTime::FromParts({2030, 1, 1, 0, 0, 0});
    };
    f.form.OkButtonClick();
    EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Succeeded) << f.sink.Text();
    EXPECT_EQ(f.http.requests, 0) << "the update button did nothing during the run";
    const std::string exported = test::ReadBytes(f.Site() / "js" / "fcmSerieADati.js");
    EXPECT_NE(exported.find("a[1]=new Date(\"2019-08-24"), std::string::npos) << exported;
    EXPECT_FALSE(fs::exists(f.Site() / "js" / "fcmInvioFormazioneDati.js"));
    const std::string settings = test::ReadBytes(f.SettingsFile());
    EXPECT_NE(settings.find("invform/al-via.php"), std::string::npos) << settings;
    EXPECT_EQ(settings.find("invform/dopo.php"), std::string::npos);
    EXPECT_EQ(settings.find("2030-01-01"), std::string::npos);
}

}  // namespace calvorin
