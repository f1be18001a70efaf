// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/FormFixture.h"

namespace calvorin {

using test::FormFixture;

namespace {

// Line-up submission on with options that pass every check; uploads and the start-time export off.
void ValidLineupOnly(TMainForm& f) {
    f.Backup.BackupCheckBox.SetChecked(false);
    f.Backup.EsportazioneCheckBox.SetChecked(false);
    f.DateOrari.EsportaDateOrariCheckBox.SetChecked(false);
    f.InvioFormazione.InvioFormazioneCheckBox.SetChecked(true);
    f.EMail.IfInviaEMailCheckBox.SetChecked(true);
    f.EMail.IfIndirizzoPresidenteAutoCheckBox.SetChecked(true);
}

const std::string kSerieAFile = "var arrSquadreA=new Array()\r\n";

// Only the start-time export on, with FCM's file in place: a run that succeeds without a league.
void ExportOnly(FormFixture& f) {
    ValidLineupOnly(f.form);
    f.form.InvioFormazione.InvioFormazioneCheckBox.SetChecked(false);
    f.form.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);
    test::WriteBytes(f.Site() / "js" / "fcmSerieADati.js", kSerieAFile);
}

}  // namespace

TEST(Validation, EachRuleFailsAloneWithItsMessageAndNothingRuns) {
    struct Case {
        const char* rule;
        std::function<void(TMainForm&)> breakIt;
        std::string message;
    } cases[] = {
        {"script path", [](TMainForm& f) { f.InvioFormazione.IfScriptServerEdit.SetText(" \t "); },
         "Il percorso dello script server-side non \xC3\xA8 valido.\nSpecificare un altro percorso."},
        {"president address",
         [](TMainForm& f) {
             f.EMail.IfEMailPresidenteCheckBox.SetChecked(true);
             f.EMail.IfIndirizzoPresidenteAutoCheckBox.SetChecked(false);
             f.EMail.IfIndirizzoPresidenteEdit.SetText("  ");
         },
         "L'indirizzo e-mail del presidente di lega non \xC3\xA8 valido.\nSpecificare un altro indirizzo o "
         "impostare "
         "l'opzione \"Auto\" per ricercarlo fra quelli dei fantallenatori."},
        {"smtp host", [](TMainForm& f) { f.EMail.IfServizioEMailComboBox.UserSelect(kSmtpCard); },
         "L'indirizzo del server SMTP non \xC3\xA8 valido.\nSpecificare un altro indirizzo."},
        {"telegram token",
         [](TMainForm& f) {
             f.Telegram.IfInoltraATelegramCheckBox.SetChecked(true);
             f.Telegram.IfChatIdTelegramEdit.SetText("-100");
         },
         "Il token di autenticazione del bot di Telegram non \xC3\xA8 valido.\nSpecificare un altro token."},
        {"telegram chat",
         [](TMainForm& f) {
             f.Telegram.IfInoltraATelegramCheckBox.SetChecked(true);
             f.Telegram.IfTokenTelegramEdit.SetText("1:A");
         },
         "Il Chat id del gruppo Telegram non \xC3\xA8 valido.\nSpecificare un altro Chat id."},
        {"archive password of blanks",
         [](TMainForm& f) {
             f.Backup.EsportazioneCheckBox.SetChecked(true);
             f.Backup.BackupPasswordEdit.SetText("   ");
         },
         "Non \xC3\xA8 possibile fare un upload sul sito del backup o del file di esportazione senza "
         "proteggerli da "
         "password.\nInserire una password nel campo 'Password degli archivi ZIP'."},
        {"backup folder",
         [](TMainForm& f) {
             f.Backup.BackupCheckBox.SetChecked(true);
             f.Backup.BackupPasswordEdit.SetText("pw");
             f.Backup.BkDirEdit.SetText(" /non/esiste ");
         },
         "La cartella sorgente del backup non esiste.\n/non/esiste\nSpecificare una cartella valida."},
        {"export file",
         [](TMainForm& f) {
             f.Backup.EsportazioneCheckBox.SetChecked(true);
             f.Backup.BackupPasswordEdit.SetText("pw");
             f.Backup.EsFilenameEdit.SetText("/non/esiste.exp");
         },
         "Il file sorgente dell'esportazione non esiste.\n/non/esiste.exp\nSpecificare un file valido."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        FormFixture f;
        f.form.FormShow();
        ValidLineupOnly(f.form);
        c.breakIt(f.form);
        std::string logBefore = f.sink.Text();
        f.form.OkButtonClick();
        EXPECT_EQ(f.desktop.errors, std::vector<std::string>{c.message});
        EXPECT_EQ(f.sink.Text(), logBefore) << "validation logs nothing";
        EXPECT_TRUE(f.desktop.runningChanges.empty()) << "nothing ran";
        EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Invalid);
        EXPECT_FALSE(std::filesystem::exists(f.SettingsFile()));
    }
}

TEST(Validation, FirstFailingRuleWinsAndTidiedTextsAreKept) {
    FormFixture f;
    f.form.FormShow();
    ValidLineupOnly(f.form);
    f.form.InvioFormazione.IfScriptServerEdit.SetText("  invform/x.php ");
    f.form.Telegram.IfInoltraATelegramCheckBox.SetChecked(true);
    f.form.Telegram.IfChatIdTelegramEdit.SetText(" -100 ");
    f.form.Backup.BackupCheckBox.SetChecked(true);
    f.form.Backup.BkDirEdit.SetText("/non/esiste");
    f.form.OkButtonClick();
    ASSERT_EQ(f.desktop.errors.size(), 1u);
    EXPECT_TRUE(f.desktop.errors[0].starts_with("Il token di autenticazione")) << f.desktop.errors[0];
    EXPECT_EQ(f.form.InvioFormazione.IfScriptServerEdit.Text(), "invform/x.php");
    EXPECT_EQ(f.form.Telegram.IfChatIdTelegramEdit.Text(), "-100");
}

TEST(Validation, OptionsOfSwitchedOffPagesDoNotBlockARun) {
    FormFixture f;
    f.form.FormShow();
    f.form.Telegram.IfInoltraATelegramCheckBox.SetChecked(true);  // token and chat id left empty
    f.form.EMail.IfServizioEMailComboBox.UserSelect(kSmtpCard);   // host left empty
    ExportOnly(f);
    f.form.OkButtonClick();
    EXPECT_TRUE(f.desktop.errors.empty()) << f.desktop.errors.front();
    EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Succeeded);
}

TEST(RunProcedure, SuccessfulRunWritesTheFilesSavesTheSettingsAndCloses) {
    FormFixture f;
    f.form.FormShow();
    ExportOnly(f);
    f.form.OkButtonClick();
    EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Succeeded);
    EXPECT_EQ(f.desktop.closeCalls, 1);
    EXPECT_EQ(f.desktop.runningChanges, (std::vector<bool>{true, false}));
    EXPECT_NE(test::ReadBytes(f.Site() / "js" / "fcmSerieADati.js").find("a[38]=new Date("),
              std::string::npos);
    EXPECT_NE(
        test::ReadBytes(f.Site() / "js" / "fcmVariabiliCalvorin.js").find("var invioFormazione=\"no\";"),
        std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(f.SettingsFile()));
    std::string text = f.sink.Text();
    EXPECT_NE(text.find("Procedura terminata con successo\n\n\xE2\x80\xA2 Salvataggio impostazioni Calvorin"),
              std::string::npos);
}

TEST(RunProcedure, AFailedSaveShowsItsErrorAfterTheBusyCursorIsGoneAndKeepsTheWindow) {
    FormFixture f;
    f.form.FormShow();
    ExportOnly(f);
    std::filesystem::create_directories(f.SettingsFile());  // the settings file cannot be replaced
    f.form.OkButtonClick();
    EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::SaveFailed);
    ASSERT_EQ(f.desktop.errors.size(), 1u);
    EXPECT_NE(f.desktop.errors[0].find(f.SettingsFile().string()), std::string::npos) << f.desktop.errors[0];
    EXPECT_EQ(f.desktop.busyAtErrors, std::vector<bool>{false});
    EXPECT_EQ(f.desktop.runningChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(f.desktop.closeCalls, 0);
    EXPECT_EQ(f.sink.LastLine(), "  KO: " + f.desktop.errors[0]) << "the save step's own KO, with the reason";
}

TEST(RunProcedure, AFailingStepCancelsTheRestAndSavesNothing) {
    FormFixture f;
    f.form.FormShow();
    ValidLineupOnly(f.form);
    test::WriteBytes(f.Site() / "js" / "fcmSerieADati.js", kSerieAFile);
    f.form.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);
    f.form.OkButtonClick();  // the league file is empty: the generator fails
    EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Cancelled);
    EXPECT_EQ(f.sink.LastLine(), "Operazione annullata");
    EXPECT_EQ(test::ReadBytes(f.Site() / "js" / "fcmSerieADati.js"), kSerieAFile)
        << "later steps did not run";
    EXPECT_FALSE(std::filesystem::exists(f.Site() / "js" / "fcmVariabiliCalvorin.js"));
    EXPECT_FALSE(std::filesystem::exists(f.SettingsFile()));
    EXPECT_EQ(f.desktop.closeCalls, 0);
    EXPECT_FALSE(f.desktop.busyNow) << "busy cursor restored";
}

TEST(RunProcedure, PathsAndMessagesInTheLogAreNeverReadAsMarkup) {
#ifdef _WIN32
    FormFixture f("Lega&amp;-1-2025");  // Windows allows no '<' or '>' in a file name
#else
    FormFixture f("Lega<b>&amp;-1-2025");
#endif
    ASSERT_TRUE(f.created) << (f.desktop.errors.empty() ? "" : f.desktop.errors[0]);
    f.form.FormShow();
    ValidLineupOnly(f.form);
    f.form.OkButtonClick();
    EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Cancelled);
    const std::string& text = f.sink.Text();
    size_t opened = text.find("  - Apertura file di lega\n    " + f.leagueFile + "\n");
    ASSERT_NE(opened, std::string::npos) << text;
    EXPECT_NE(text.find("KO: ", opened), std::string::npos);
    EXPECT_NE(text.find(f.leagueFile, text.find("KO: ", opened)), std::string::npos)
        << "the message keeps the path";
}

// The export used to end with "Operazione annullata" and no reason at all.
TEST(RunProcedure, StartTimeExportFailureWritesItsKoWithTheReason) {
    FormFixture f;
    f.form.FormShow();
    ExportOnly(f);
    std::filesystem::remove(f.Site() / "js" / "fcmSerieADati.js");
    f.form.OkButtonClick();
    EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Cancelled);
    EXPECT_EQ(f.sink.LastLine(), "Operazione annullata");
    EXPECT_NE(f.sink.Text().find("fcmSerieADati.js\n  KO: Impossibile aprire il file \"" +
                                 PathText(f.Site() / "js" / "fcmSerieADati.js") + "\": "),
              std::string::npos)
        << f.sink.Text();
    EXPECT_FALSE(std::filesystem::exists(f.Site() / "js" / "fcmSerieADati.js")) << "never created";
}

TEST(RunProcedure, ExtendedModeCanSkipTheVariablesFile) {
    for (bool skip : {false, true}) {
        SCOPED_TRACE(skip);
        FormFixture f("Lega-1-2025", "1");
        f.form.FormShow();
        ExportOnly(f);
        f.form.Generale.gnDisabilitaJsVariabiliCheckBox.SetChecked(skip);
        f.form.OkButtonClick();
        EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Succeeded);
        EXPECT_EQ(std::filesystem::exists(f.Site() / "js" / "fcmVariabiliCalvorin.js"), !skip);
        EXPECT_EQ(f.sink.Text().find("fcmVariabiliCalvorin.js") == std::string::npos, skip);
    }
}

TEST(RunProcedure, DuringARunOkIsRefusedAndAnnullaOrTheCloseBoxOnlyAskWhetherToStop) {
    FormFixture f;
    f.form.FormShow();
    ExportOnly(f);
    int nestedCloses = -1;
    bool nestedMayClose = true;
    // Every log line lets the desktop deliver input: press OK, Annulla and the close box from inside the run,
    // answering "No" to the question.
    f.desktop.onPendingEvents = [&] {
        if (!f.form.Running() || nestedCloses >= 0) return;
        f.form.OkButtonClick();
        f.form.CancelButton.Click();
        nestedMayClose = f.form.CloseRequested();
        nestedCloses = f.desktop.closeCalls;
    };
    f.form.OkButtonClick();
    EXPECT_EQ(nestedCloses, 0);
    EXPECT_FALSE(nestedMayClose);
    EXPECT_EQ(f.desktop.questions, (std::vector<std::string>(2, "Interrompere la procedura?")));
    EXPECT_EQ(f.form.LastRunOutcome(), RunOutcome::Succeeded) << "answered no: the run goes on";
    EXPECT_EQ(f.desktop.closeCalls, 1) << "only the finished run closes the window";
    EXPECT_EQ(std::count(f.sink.Text().begin(), f.sink.Text().end(), '\xA2'), 5)
        << "one run: start-time, variables and saving headings after the two loading ones";
    EXPECT_TRUE(f.form.CloseRequested()) << "after the run nothing is asked";
    EXPECT_EQ(f.desktop.questions.size(), 2u);
}

}  // namespace calvorin
