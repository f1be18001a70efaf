// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/form/SettingsKeys.h"
#include "platform/text/Encoding.h"
#include "settings/IniFile.h"
#include "settings/StoredSecret.h"
#include "support/FormFixture.h"

namespace calvorin {

using test::FormFixture;

namespace {

// Every key as the form would save it now: a complete picture of the settings model.
std::string SavedPicture(TMainForm& form) {
    IniFile ini;
    for (const auto& key : SettingsKeys(form))
        if (key.save) key.save(ini);
    return ini.Serialize();
}

void WriteIni(const std::filesystem::path& file, const std::string& utf8Text,
              TextEncoding encoding = TextEncoding::Ansi) {
    test::WriteBytes(file, EncodeText(utf8Text, encoding));
}

// Sets every option to something other than its default.
void ChangeEverything(TMainForm& f) {
    f.Generale.gnDisabilitaJsVariabiliCheckBox.SetChecked(true);
    f.InvioFormazione.IfScriptServerEdit.SetText("script/invio \"x\".php");
    f.TermineInvio.IfControllaOrarioCheckBox.SetChecked(true);
    f.TermineInvio.IfAnticipoInvioNumberBox.SetValue(45);
    f.Interfaccia.IfDisabilitaGiornataCheckBox.SetChecked(true);
    f.Regole.IfPanchinaOrdinataCheckBox.SetChecked(false);
    f.Regole.IfPrimaveraCheckBox.SetChecked(true);
    auto& e = f.EMail;
    e.IfIndirizzoPresidenteAutoCheckBox.SetChecked(false);
    e.IfIndirizzoPresidenteEdit.SetText("presidente@lega.it");
    e.IfMittenteEMailEdit.SetText("Lega Perché <noreply@lega.it>");
    e.IfEMailTuttiCheckBox.SetChecked(true);
    e.IfEMailSeStessiCheckBox.SetChecked(false);
    e.IfServizioEMailComboBox.UserSelect(kMailjetCard);
    e.IfSmtpHostEdit.SetText("smtp.lega.it");
    e.IfSmtpPortaNumberBox.SetValue(465);
    e.IfSmtpSicurezzaComboBox.SetItemIndex(2);
    e.IfSmtpUsernameEdit.SetText("utente");
    e.IfSmtpPasswordEdit.SetText("pàss:word");
    e.IfBrevoApiKeyEdit.SetText("brevo-key");
    e.IfMailjetApiKeyEdit.SetText("mj-api");
    e.IfMailjetSecretKeyEdit.SetText("mj:secret");
    e.IfSendGridApiKeyEdit.SetText("SG.key");
    f.SalvataggioSito.IfSalvaSuSitoCheckBox.SetChecked(false);
    f.Telegram.IfInoltraATelegramCheckBox.SetChecked(true);
    f.Telegram.IfTokenTelegramEdit.SetText("123:ABC");
    f.Telegram.IfChatIdTelegramEdit.SetText("-100123");
    f.Telegram.IfModalitaTelegramComboBox.SetItemIndex(1);
    f.Orari.OrariSerieA[0] = *LocalDateTime::FromParts({2025, 8, 23, 18, 30, 0});
    f.Orari.OrariSerieA[37] = *LocalDateTime::FromParts({2026, 5, 24, 20, 45, 0});
    f.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);
    f.Orari.UrlServizio = "http://127.0.0.1:9/servizio.php?x=1";
    f.Orari.AggiornaAvvio = true;
    f.Orari.UltimaModificaManuale = *LocalDateTime::FromParts({2025, 7, 1, 9, 8, 7});
    f.Backup.BackupCheckBox.SetChecked(false);
    f.Backup.BkUltimoCheckBox.SetChecked(false);
    f.Backup.BkSoloLegaCheckBox.SetChecked(true);
    f.Backup.BkDirEdit.SetText("/non/esiste/FCMBKP1");
    f.Backup.EsFilenameEdit.SetText("/non/esiste/lega.exp");
    f.Backup.BackupPasswordEdit.SetText(" segreta ");
    f.Backup.BackupNomiCasualiCheckBox.SetChecked(false);
}

}  // namespace

TEST(SettingsFile, WithoutAnyFileEveryKeyTakesItsDefault) {
    FormFixture f;
    f.form.LoadSettings();
    auto& form = f.form;
    EXPECT_EQ(f.sink.Text(), "\n\xE2\x80\xA2 Caricamento impostazioni di Calvorin\n") << "only the heading";
    EXPECT_TRUE(form.InvioFormazione.InvioFormazioneCheckBox.Checked());
    EXPECT_EQ(form.InvioFormazione.IfScriptServerEdit.Text(), "invform/invform.php");
    EXPECT_FALSE(form.TermineInvio.IfControllaOrarioCheckBox.Checked());
    EXPECT_EQ(form.TermineInvio.IfAnticipoInvioNumberBox.Value(), 30);
    EXPECT_EQ(form.EMail.IfSmtpPortaNumberBox.Value(), 587);
    EXPECT_EQ(form.EMail.IfSmtpSicurezzaComboBox.ItemIndex(), 1);
    EXPECT_EQ(form.EMail.IfServizioEMailComboBox.ItemIndex(), 0);
    ASSERT_EQ(form.DateOrari.DoOrariEditor.Rows().size(), 38u);
    EXPECT_EQ(form.DateOrari.DoOrariEditor.Rows()[0],
              (std::pair<std::string, std::string>("1a", "24/08/2019 18:00")));
    EXPECT_EQ(form.DateOrari.DoOrariEditor.Rows()[37].first, "38a");
    EXPECT_EQ(form.Orari.OrariSerieA[37].StorageForm(), "2020-05-23 18.00");
    EXPECT_EQ(form.Orari.UltimaModificaManuale.StorageFormWithSeconds(), "2000-01-01 00.00.00");
    EXPECT_TRUE(form.Orari.UrlServizio.ends_with("/Calvorin_v2/services.php"));
    EXPECT_TRUE(form.Backup.BackupCheckBox.Checked() && form.Backup.EsportazioneCheckBox.Checked());
    EXPECT_TRUE(form.Backup.BackupNomiCasualiCheckBox.Checked());
}

TEST(SettingsFile, EveryOptionSurvivesSaveAndLoadInEachEncoding) {
    for (auto encoding :
         {TextEncoding::Ansi, TextEncoding::Utf8Bom, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        FormFixture first("Lega-1-2025", "1");
        std::filesystem::create_directories(first.Fcm() / "plugin");
        WriteIni(first.SettingsFile(), "[Generale]\r\n[Vecchia]\r\nchiave=1\r\n", encoding);
        first.form.LoadSettings();
        ChangeEverything(first.form);
        first.form.SaveSettings();
        std::string bytes = test::ReadBytes(first.SettingsFile());
        EXPECT_EQ(DecodeText(bytes).encoding, encoding);
        EXPECT_EQ(DecodeText(bytes).utf8.find("Vecchia"), std::string::npos) << "other sections are dropped";

        FormFixture second("Lega-1-2025", "1");
        std::filesystem::create_directories(second.Fcm() / "plugin");
        test::WriteBytes(second.SettingsFile(), bytes);
        second.form.LoadSettings();
        EXPECT_EQ(SavedPicture(second.form), SavedPicture(first.form));
        EXPECT_EQ(second.form.EMail.IfMailjetSecretKeyEdit.Text(), "mj:secret");
        EXPECT_EQ(second.form.Backup.BackupPasswordEdit.Text(), "segreta") << "secrets are trimmed";
        EXPECT_EQ(second.form.DateOrari.DoOrariEditor.ValueAt(1), "23/08/2025 18:30");
    }
}

TEST(SettingsFile, SavedFileHoldsSecretsEncryptedAndNoOlderKeys) {
    FormFixture f;
    std::filesystem::create_directories(f.Fcm() / "plugin");
    WriteIni(f.SettingsFile(), "[Invio formazione]\r\nURL script server = foo/bar.php\r\n");
    f.form.LoadSettings();
    EXPECT_EQ(f.form.InvioFormazione.IfScriptServerEdit.Text(), "foo/bar.php");
    f.form.Backup.BackupPasswordEdit.SetText("segreta");
    f.form.SaveSettings();
    IniFile saved = IniFile::Load(f.SettingsFile());
    EXPECT_EQ(saved.ReadValue("Invio formazione", "Percorso script server"), "foo/bar.php");
    EXPECT_FALSE(saved.HasKey("Invio formazione", "URL script server"));
    EXPECT_EQ(saved.ReadValue("Backup", "Password"), EncryptText("segreta", "Calvorin"));
    EXPECT_EQ(saved.ReadValue("Invio formazione", "API key Mailjet"), EncryptText(":", "Calvorin"));
    EXPECT_EQ(saved.Sections(),
              (std::vector<std::string>{"Invio formazione", "Date e orari Serie A", "Backup"}));
    EXPECT_FALSE(saved.HasKey("Invio formazione", "Modalit\xC3\xA0 messaggio di Telegram"))
        << "extended mode only";
}

TEST(SettingsFile, ValuesOutsideTheirFormTakeTheDefaultOrTheNearestBound) {
    struct Case {
        const char* lines;
        std::function<void(TMainForm&)> check;
    } cases[] = {
        {"Porta SMTP=0", [](TMainForm& f) { EXPECT_EQ(f.EMail.IfSmtpPortaNumberBox.Value(), 587); }},
        {"Porta SMTP=70000", [](TMainForm& f) { EXPECT_EQ(f.EMail.IfSmtpPortaNumberBox.Value(), 65535); }},
        {"Porta SMTP=0x1BB", [](TMainForm& f) { EXPECT_EQ(f.EMail.IfSmtpPortaNumberBox.Value(), 443); }},
        {"Anticipo invio=-4",
         [](TMainForm& f) { EXPECT_EQ(f.TermineInvio.IfAnticipoInvioNumberBox.Value(), 0); }},
        {"Anticipo invio=9000",
         [](TMainForm& f) { EXPECT_EQ(f.TermineInvio.IfAnticipoInvioNumberBox.Value(), 7200); }},
        {"Sicurezza SMTP=3", [](TMainForm& f) { EXPECT_EQ(f.EMail.IfSmtpSicurezzaComboBox.ItemIndex(), 1); }},
        {"Sicurezza SMTP=-1",
         [](TMainForm& f) { EXPECT_EQ(f.EMail.IfSmtpSicurezzaComboBox.ItemIndex(), 1); }},
        {"Servizio invio e-mail=SMTP",
         [](TMainForm& f) { EXPECT_EQ(f.EMail.IfServizioEMailComboBox.ItemIndex(), 1); }},
        {"Servizio invio e-mail=2",
         [](TMainForm& f) { EXPECT_EQ(f.EMail.IfServizioEMailComboBox.ItemIndex(), 0); }},
        {"Servizio invio e-mail=posta",
         [](TMainForm& f) { EXPECT_EQ(f.EMail.IfServizioEMailComboBox.ItemIndex(), 0); }},
        {"Abilitato=true",
         [](TMainForm& f) { EXPECT_TRUE(f.InvioFormazione.InvioFormazioneCheckBox.Checked()); }},
        {"Primavera=2", [](TMainForm& f) { EXPECT_TRUE(f.Regole.IfPrimaveraCheckBox.Checked()); }},
        {"Modalit\xC3\xA0 messaggio di Telegram=5",
         [](TMainForm& f) { EXPECT_EQ(f.Telegram.IfModalitaTelegramComboBox.ItemIndex(), -1); }},
        {"E-mail tutti i presidenti=1",
         [](TMainForm& f) { EXPECT_TRUE(f.EMail.IfEMailTuttiCheckBox.Checked()); }},
        {"E-mail presidente squadra=0\r\nE-mail fantallenatore squadra=1",
         [](TMainForm& f) { EXPECT_TRUE(f.EMail.IfEMailSeStessiCheckBox.Checked()); }},
        {"Salva formazione=0",
         [](TMainForm& f) { EXPECT_FALSE(f.SalvataggioSito.IfSalvaSuSitoCheckBox.Checked()); }},
        {"Abilitato=0",
         [](TMainForm& f) { EXPECT_FALSE(f.TreeView.Nodes()[2].enabled) << "rules run after loading"; }},
        {"Orario 3a=2019-09-14 15.00",
         [](TMainForm& f) {  // a current-format key in the older section
             EXPECT_EQ(f.Orari.OrariSerieA[2].StorageForm(), "2019-09-14 15.00");
         }},
        {"API key Mailjet=garbage!", [](TMainForm& f) { EXPECT_EQ(f.EMail.IfMailjetApiKeyEdit.Text(), ""); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        FormFixture f;
        WriteIni(f.SettingsFile(), std::string("[invio FORMAZIONE]\r\n") + c.lines + "\r\n");
        f.form.LoadSettings();
        c.check(f.form);
    }
}

TEST(SettingsFile, StartTimesLoadFromEitherSectionAndKeepTheirEntryWhenUnreadable) {
    FormFixture f;
    WriteIni(f.SettingsFile(),
             "[Invio formazione]\r\nOrario 2a=2021-01-02 03.04\r\n"
             "[Date e orari Serie A]\r\nOrario 1a=2019-09-24 19:00\r\nOrario 4a=2019-08-24 18.00.30\r\n"
             "Orario 5a=2019-02-29 10.00\r\nOrario 6a=2019-08-24 25.00\r\n"
             "Ultima modifica manuale orari=not a date\r\n");
    f.form.LoadSettings();
    auto& o = f.form.Orari.OrariSerieA;
    EXPECT_EQ(o[0].StorageForm(), "1899-12-30 00.00") << "a colon does not match: the entry keeps its value";
    EXPECT_EQ(o[1].StorageForm(), "2021-01-02 03.04") << "older key of the same name";
    EXPECT_EQ(o[3].StorageFormWithSeconds(), "2019-08-24 18.00.30");
    EXPECT_EQ(o[4].StorageForm(), "1899-12-30 00.00") << "impossible date";
    EXPECT_EQ(o[5].StorageForm(), "2019-08-24 00.00") << "valid date, invalid time";
    EXPECT_EQ(f.form.Orari.UltimaModificaManuale.SecondsSinceEpoch(), 0);
    f.form.SaveSettings();
    IniFile saved = IniFile::Load(f.SettingsFile());
    EXPECT_EQ(saved.ReadValue("Date e orari Serie A", "Orario 1a"), "1899-12-30 00.00");
    EXPECT_EQ(saved.ReadValue("Date e orari Serie A", "Orario 4a"), "2019-08-24 18.00") << "seconds dropped";
}

TEST(SettingsFile, OlderLocationsAreTriedInOrderAndOnlyTheLeagueFileIsWritten) {
    {
        FormFixture f("Lega-2-2024");
        auto previous = f.Fcm() / "plugin" / "Calvorin_Lega-1-2023.ini";
        WriteIni(previous, "[Invio formazione]\r\nPercorso script server=precedente.php\r\n");
        WriteIni(f.Root() / "programma" / "Calvorin.ini",
                 "[Invio formazione]\r\nPercorso script server=vecchio.php\r\n");
        f.form.LoadSettings();
        EXPECT_EQ(f.form.InvioFormazione.IfScriptServerEdit.Text(), "precedente.php");
        EXPECT_NE(f.sink.Text().find(PathText(previous)), std::string::npos);
        std::string before = test::ReadBytes(previous);
        f.form.SaveSettings();
        EXPECT_EQ(test::ReadBytes(previous), before);
        EXPECT_TRUE(std::filesystem::exists(f.SettingsFile()));
    }
    {
        FormFixture f("Lega-2-2024");
        WriteIni(f.Root() / "programma" / "Calvorin.ini",
                 "[Invio formazione]\r\nPercorso script server=vecchio.php\r\n");
        f.form.LoadSettings();
        EXPECT_EQ(f.form.InvioFormazione.IfScriptServerEdit.Text(), "vecchio.php");
    }
    {
        FormFixture f("Lega-1-0001");
        WriteIni(f.Root() / "programma" / "Calvorin.ini",
                 "[Invio formazione]\r\nPercorso script server=vecchio.php\r\n");
        f.form.LoadSettings();
        EXPECT_EQ(f.form.InvioFormazione.IfScriptServerEdit.Text(), "invform/invform.php");
    }
}

// The league's own file is named after it, accents and all, beside FCM's plugin folder, in a folder whose
// name has accents too; what is saved there is what the next start of that league loads.
TEST(SettingsFile, AccentedLeagueNameGivesTheFileItsNameAndTheNextStartLoadsIt) {
    const std::string league = "Lega-Società-1-2025";
    FormFixture f(league);
    ASSERT_TRUE(f.created);
    EXPECT_EQ(f.form.SettingsFilePath(),
              PathText(f.Fcm() / "plugin" / Utf8Path("Calvorin_" + league + ".ini")));
    f.form.LoadSettings();
    f.form.InvioFormazione.IfScriptServerEdit.SetText("società/invio.php");
    f.form.SaveSettings();
    EXPECT_EQ(
        test::SortedNames(f.Fcm() / "plugin"),
        (std::vector<std::string>{"Calvorin_Lega-Società-1-2025.ini", "Calvorin_Lega-Società-1-2025.lock"}))
        << "the settings file, and the lock held while the window lives";
    EXPECT_NE(f.sink.Text().find(f.form.SettingsFilePath()), std::string::npos) << f.sink.Text();

    FormFixture next(league);
    std::filesystem::create_directories(next.Fcm() / "plugin");
    std::filesystem::copy_file(f.SettingsFile(), next.SettingsFile());
    next.form.LoadSettings();
    EXPECT_EQ(next.form.InvioFormazione.IfScriptServerEdit.Text(), "società/invio.php");
}

TEST(SettingsFile, ExtendedKeysAreDroppedOnSaveWithoutExtendedMode) {
    FormFixture f;
    WriteIni(f.SettingsFile(),
             "[Generale]\r\nDisabilita creazione fcmVariabiliCalvorin.js=1\r\n"
             "[Invio formazione]\r\nModalit\xC3\xA0 messaggio di Telegram=1\r\n");
    f.form.LoadSettings();
    EXPECT_EQ(f.form.Telegram.IfModalitaTelegramComboBox.ItemIndex(), 1) << "read even without extended mode";
    EXPECT_FALSE(f.form.Generale.gnDisabilitaJsVariabiliCheckBox.Checked());
    f.form.SaveSettings();
    IniFile saved = IniFile::Load(f.SettingsFile());
    EXPECT_FALSE(saved.HasKey("Generale", "Disabilita creazione fcmVariabiliCalvorin.js"));
    EXPECT_FALSE(saved.HasKey("Invio formazione", "Modalit\xC3\xA0 messaggio di Telegram"));
}

}  // namespace calvorin

namespace calvorin {

// Something in the settings file's place that is no settings of ours: the window opens on the defaults
// and says so, and the first save keeps what was there as <name>.bak before writing.
TEST(SettingsFile, AnUnusableFileIsReportedAndKeptAsBakAtTheFirstSave) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> place;
        const char* reason;  // in the log line
        bool folder;
    } cases[] = {
        {"random bytes",
         [](const auto& file) { test::WriteBytes(file, std::string("\x9c\x01\xff\x00z=\x07", 7)); },
         "Il file non contiene impostazioni di Calvorin", false},
        {"another program's INI", [](const auto& file) { test::WriteBytes(file, "[Altro]\r\nChiave=1\r\n"); },
         "Il file non contiene impostazioni di Calvorin", false},
        {"a folder", [](const auto& file) { std::filesystem::create_directories(file / "dentro"); },
         "cartella", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FormFixture f;
        FormFixture defaults;
        std::filesystem::create_directories(f.SettingsFile().parent_path());
        c.place(f.SettingsFile());
        const std::string before = c.folder ? "" : test::ReadBytes(f.SettingsFile());
        f.form.FormShow();
        defaults.form.FormShow();
        EXPECT_EQ(SavedPicture(f.form), SavedPicture(defaults.form)) << "the defaults";
        ASSERT_TRUE(f.form.SettingsProblem().has_value());
        EXPECT_NE(f.form.SettingsProblem()->find(c.reason), std::string::npos) << *f.form.SettingsProblem();
        EXPECT_NE(f.sink.Text().find(": si usano le impostazioni predefinite\n"), std::string::npos)
            << f.sink.Text();

        f.form.SaveSettings();
        const std::filesystem::path kept = PathFromText(f.form.SettingsFilePath() + ".bak");
        if (c.folder) {
            EXPECT_TRUE(std::filesystem::is_directory(kept / "dentro"));
        } else {
            EXPECT_EQ(test::ReadBytes(kept), before);
        }
        EXPECT_NE(f.sink.Text().find("Il file precedente è conservato come " + PathText(kept)),
                  std::string::npos);
        EXPECT_TRUE(HoldsSettings(IniFile::Load(f.SettingsFile())));
        // The next save replaces the file as usual and leaves the kept one alone.
        f.form.Generale.gnDisabilitaJsVariabiliCheckBox.SetChecked(true);
        f.form.SaveSettings();
        EXPECT_EQ(f.sink.Text().find("conservato come"), f.sink.Text().rfind("conservato come"));
        if (!c.folder) {
            EXPECT_EQ(test::ReadBytes(kept), before);
        }
    }
}

TEST(SettingsFile, AnEmptyFileOrAMissingOneIsNoProblem) {
    FormFixture f;
    std::filesystem::create_directories(f.SettingsFile().parent_path());
    test::WriteBytes(f.SettingsFile(), "");
    f.form.FormShow();
    EXPECT_FALSE(f.form.SettingsProblem().has_value());
    f.form.SaveSettings();
    EXPECT_FALSE(std::filesystem::exists(PathFromText(f.form.SettingsFilePath() + ".bak")));
}

}  // namespace calvorin
