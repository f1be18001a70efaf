// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/MainForm.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/FormFixture.h"

namespace calvorin {

using test::FormFixture;

namespace {

std::vector<std::string> NodeTexts(const PageTree& tree) {
    std::vector<std::string> texts;
    for (const auto& n : tree.Nodes()) texts.push_back(n.text);
    return texts;
}

}  // namespace

// "Argomenti non validi" alone left the president guessing: each wrong argument is named with its reason.
TEST(MainForm, InvalidArgumentsSayWhichArgumentIsWrongAndWhy) {
    test::TempDir dir;
    const std::string missing = PathText(dir / "Leghe" / "Fantalega-1-2025.mdb");
    std::filesystem::create_directories(dir / "Leghe" / "Cartella-1-2025.mdb");
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> problems;
    } cases[] = {
        {{"/l=/a/b/Fantalega-2023.mdb", "/s=x", "/c=/s"},
         {"/l=\"/a/b/Fantalega-2023.mdb\": il nome del file della lega deve avere la forma nome-stagione-anno, "
          "per esempio Fantalega-1-2025.mdb"}},
        {{"/l=" + missing, "/s=x", "/c=/s"}, {"/l=\"" + missing + "\": il file della lega non esiste"}},
        {{"/l=" + PathText(dir / "Leghe" / "Cartella-1-2025.mdb"), "/s=x", "/c=/s"},
         {"/l=\"" + PathText(dir / "Leghe" / "Cartella-1-2025.mdb") + "\": non è un file"}},
        {{"/s=x"},
         {"/l mancante: il file della lega, per esempio /l=C:\\FCM\\Leghe\\Fantalega-1-2025.mdb",
          "/c mancante: la cartella del sito della lega, per esempio /c=C:\\Sito"}},
        {{"/l=" + missing, "/c=/s", "/batch"},
         {"/l=\"" + missing + "\": il file della lega non esiste",
          "/s mancante: il testo che FCM passa, per esempio /s=x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        test::FakeDesktop desktop;
        test::NoNetwork http;
        MemoryLogSink sink;
        Log log(sink);
        TMainForm form({desktop, log, http});
        EXPECT_FALSE(form.FormCreate(c.arguments, nullptr));
        std::string expected = "Argomenti non validi";
        for (const std::string& problem : c.problems) expected += "\n- " + problem;
        EXPECT_EQ(desktop.errors, std::vector<std::string>{expected + "\nPer l'uso: calvorin --help"});
        EXPECT_EQ(sink.Text(), "");
    }
}

// FCM may pass options a later version knows: they are named in the log, and the run goes on.
TEST(MainForm, UnknownArgumentsAreNamedInTheLogNotRefused) {
    test::FakeDesktop desktop;
    test::NoNetwork http;
    MemoryLogSink sink;
    Log log(sink);
    test::TempDir dir;
    const auto league = dir / "Leghe" / "Fantalega-1-2025.mdb";
    test::WriteBytes(league, "");
    TMainForm form({desktop, log, http});
    ASSERT_TRUE(form.FormCreate({"/l=" + PathText(league), "/s=x", "/c=" + PathText(dir / "Sito"), "/nuova=1",
                                 "/EXTENDED", "/Batch", "<b>\x1b", " "},
                                nullptr));
    EXPECT_EQ(desktop.errors, std::vector<std::string>{});
    form.FormShow();
    EXPECT_NE(sink.Text().find("Argomenti sconosciuti, ignorati: /nuova=1 <b>\\x1B\n"), std::string::npos)
        << sink.Text();
}

// From the menu there are no arguments: the pickers ask for what FCM would pass.
TEST(MainForm, StartedWithoutAnyArgumentAsksForTheLeagueAndTheSiteAndCancellingQuits) {
    test::TempDir dir;
    const auto league = dir / "Leghe" / "Fantalega-1-2025.mdb";
    test::WriteBytes(league, "");
    struct Case {
        std::optional<std::string> file, folder;
        bool created;
    } cases[] = {
        {PathText(league), PathText(dir / "Sito"), true},
        {std::nullopt, PathText(dir / "Sito"), false},
        {PathText(league), std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.value_or("-") + " " + c.folder.value_or("-"));
        test::FakeDesktop desktop;
        desktop.nextFile = c.file;
        desktop.nextFolder = c.folder;
        test::NoNetwork http;
        MemoryLogSink sink;
        Log log(sink);
        TMainForm form({desktop, log, http});
        EXPECT_EQ(form.FormCreate({}, nullptr), c.created);
        EXPECT_EQ(desktop.errors, std::vector<std::string>{}) << "cancelling is no error";
        EXPECT_EQ(desktop.lastFilter, "File di lega di FCM (*.mdb)|*.mdb|Copie SQLite (*.db)|*.db");
        if (!c.created) continue;
        EXPECT_EQ(desktop.lastPickerTitle, "Cartella del sito della lega");
        EXPECT_EQ(form.Context.LeagueFile, PathText(league));
        EXPECT_EQ(form.Context.LeagueBaseName, "Fantalega-1-2025");
        EXPECT_EQ(form.Context.SiteFolder, PathText(dir / "Sito"));
    }
}

// A chosen file is checked as FCM's argument would be.
TEST(MainForm, APickedLeagueFileWithTheWrongNameIsRefusedAsAnArgumentWouldBe) {
    test::TempDir dir;
    const auto league = dir / "lega.mdb";
    test::WriteBytes(league, "");
    test::FakeDesktop desktop;
    desktop.nextFile = PathText(league);
    desktop.nextFolder = PathText(dir.path());
    test::NoNetwork http;
    MemoryLogSink sink;
    Log log(sink);
    TMainForm form({desktop, log, http});
    EXPECT_FALSE(form.FormCreate({}, nullptr));
    ASSERT_EQ(desktop.errors.size(), 1u);
    EXPECT_NE(desktop.errors[0].find("deve avere la forma nome-stagione-anno"), std::string::npos)
        << desktop.errors[0];
}

// FCM started twice, or cron during a manual run: the second would clean away the first one's temporaries.
TEST(MainForm, ASecondCalvorinOnTheSameLeagueIsRefusedWhileTheFirstLives) {
    test::TempDir dir;
    const auto league = dir / "FCM" / "Leghe" / "Fantalega-1-2025.mdb";
    test::WriteBytes(league, "");
    const std::vector<std::string> arguments{"/l=" + PathText(league), "/s=x",
                                             "/c=" + PathText(dir / "Sito")};
    test::NoNetwork http;
    MemoryLogSink sink;
    Log log(sink);
    test::FakeDesktop firstDesktop, secondDesktop, thirdDesktop;
    auto first = std::make_unique<TMainForm>(FormServices{firstDesktop, log, http});
    ASSERT_TRUE(first->FormCreate(arguments, nullptr));
    TMainForm second({secondDesktop, log, http});
    EXPECT_FALSE(second.FormCreate(arguments, nullptr));
    EXPECT_EQ(secondDesktop.errors,
              std::vector<std::string>{"Un'altra esecuzione di Calvorin è in corso su questa lega:\n" +
                                       PathText(league) +
                                       "\nAttendere che finisca, o chiudere l'altra finestra di Calvorin."});
    first.reset();
    TMainForm third({thirdDesktop, log, http});
    EXPECT_TRUE(third.FormCreate(arguments, nullptr)) << "the lock goes with the first";
    EXPECT_EQ(thirdDesktop.errors, std::vector<std::string>{});
}

TEST(MainForm, ShowingWithoutExtendedModeDropsTheGeneralPage) {
    FormFixture f;
    ASSERT_TRUE(f.created);
    f.form.FormShow();
    EXPECT_EQ(f.form.Caption, "Calvorin");
    ASSERT_EQ(f.form.TreeView.Nodes().size(), 9u);
    EXPECT_EQ(f.form.TreeView.Nodes()[0].text, "Invio formazione");
    EXPECT_EQ(f.form.TreeView.ActiveCard(), "InvioFormazioneCard");
    EXPECT_FALSE(f.form.Telegram.IfModalitaTelegramComboBox.Visible());
    EXPECT_FALSE(f.form.Telegram.IfModalitaTelegramLabel.Visible());
    f.form.IfDateOrariLinkLabelLinkClick();
    EXPECT_EQ(f.form.TreeView.ActiveCard(), "DateOrariSerieACard");
    EXPECT_EQ(f.form.TreeView.Selected(), 7);
}

TEST(MainForm, ExtendedModeKeepsTheGeneralPageAndTelegramMode) {
    FormFixture f("Lega-1-2025", "1");
    f.form.FormShow();
    EXPECT_EQ(f.form.Caption, "Calvorin(EX)");
    EXPECT_EQ(NodeTexts(f.form.TreeView),
              (std::vector<std::string>{"Generale", "Invio formazione", "Termine invio", "Interfaccia",
                                        "Regole", "Invio e-mail", "Salvataggio su sito", "Inoltro a Telegram",
                                        "Data e orari partite Serie A", "Upload backup"}));
    EXPECT_EQ(f.form.TreeView.ActiveCard(), "GeneraleCard");
    EXPECT_TRUE(f.form.Telegram.IfModalitaTelegramComboBox.Visible());
    f.form.IfDateOrariLinkLabelLinkClick();
    EXPECT_EQ(f.form.TreeView.Selected(), 8);
}

TEST(MainForm, BannerIsFollowedByAsManyMacronsAsItsVisibleCharacters) {
    FormFixture f;
    f.form.FormShow();
    ASSERT_GE(f.sink.Lines().size(), 2u);
    EXPECT_EQ(f.sink.Lines()[0].visibleCount, 23);
    std::string macrons;
    for (int i = 0; i < 23; ++i) macrons += "\xC2\xAF";
    EXPECT_EQ(f.sink.Lines()[1].segments.at(0).text, macrons);
    EXPECT_TRUE(f.sink.Lines()[0].segments.at(0).style.bold);
}

TEST(OptionRules, LineupSwitchGreysItsChildPagesAndTheyCannotBeSelected) {
    FormFixture f;
    f.form.FormShow();
    auto& form = f.form;
    form.InvioFormazione.InvioFormazioneCheckBox.SetChecked(false);
    EXPECT_FALSE(form.InvioFormazione.IfScriptServerEdit.Enabled());
    for (int i = 1; i <= 6; ++i) EXPECT_FALSE(form.TreeView.Nodes()[i].enabled) << i;
    EXPECT_TRUE(form.TreeView.Nodes()[7].enabled);
    EXPECT_FALSE(form.SelectNode(1));
    EXPECT_EQ(form.TreeView.ActiveCard(), "InvioFormazioneCard");
    form.InvioFormazione.InvioFormazioneCheckBox.SetChecked(true);
    EXPECT_TRUE(form.SelectNode(1));
    EXPECT_EQ(form.TreeView.ActiveCard(), "IfTermineInvioCard");
}

TEST(OptionRules, DeadlineAndExportShareTheStartTimeControls) {
    FormFixture f;
    f.form.FormShow();
    auto& t = f.form.TermineInvio;
    auto& d = f.form.DateOrari;
    struct Case {
        bool controlla, esporta, lineup;
        bool linkEnabled, gridEnabled;
    } cases[] = {
        {true, false, true, true, true}, {false, false, true, false, false}, {false, true, true, false, true},
        {true, true, true, true, true},  {true, false, false, false, false},  // deadline page out of reach
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.controlla << c.esporta << c.lineup);
        t.IfControllaOrarioCheckBox.SetChecked(c.controlla);
        d.EsportaDateOrariCheckBox.SetChecked(c.esporta);
        f.form.InvioFormazione.InvioFormazioneCheckBox.SetChecked(c.lineup);
        for (const Control* ctl :
             std::vector<const Control*>{&t.IfDateOrariLinkLabel, &t.IfDateOrariLabel,
                                         &t.IfAnticipoInvioLabel, &t.IfAnticipoInvioNumberBox})
            EXPECT_EQ(ctl->Enabled(), c.linkEnabled) << ctl->Name();
        for (const Control* ctl :
             std::vector<const Control*>{&d.DoOrariEditor, &d.DoAggiornaButton, &d.DoImpostazioniButton})
            EXPECT_EQ(ctl->Enabled(), c.gridEnabled) << ctl->Name();
        EXPECT_TRUE(t.IfControllaOrarioCheckBox.Enabled()) << "never disabled";
    }
}

TEST(OptionRules, EmailSwitchGreysItsControlsButKeepsTheChosenServiceCard) {
    FormFixture f;
    f.form.FormShow();
    auto& e = f.form.EMail;
    e.IfServizioEMailComboBox.UserSelect(kMailjetCard);
    EXPECT_EQ(e.IfServizioEMailCardPanel.ActiveCard(), kMailjetCard);
    e.IfInviaEMailCheckBox.SetChecked(false);
    EXPECT_FALSE(e.IfInviaEMailPageControl.Enabled());
    EXPECT_FALSE(e.IfSmtpPasswordEdit.Enabled());
    EXPECT_FALSE(e.IfServizioEMailComboBox.Enabled());
    EXPECT_TRUE(e.IfMailjetApiKeyEdit.Enabled()) << "API keys keep their own state";
    EXPECT_EQ(e.IfServizioEMailCardPanel.ActiveCard(), kMailjetCard);
    e.IfServizioEMailComboBox.SetItemIndex(kSmtpCard);  // set by the program: no card change
    EXPECT_EQ(e.IfServizioEMailCardPanel.ActiveCard(), kMailjetCard);
    e.IfInviaEMailCheckBox.SetChecked(true);  // the e-mail rule repeats the card selection
    EXPECT_EQ(e.IfServizioEMailCardPanel.ActiveCard(), kSmtpCard);
    EXPECT_TRUE(e.IfSmtpPasswordEdit.Enabled());
}

TEST(OptionRules, TelegramSwitchEnablesItsFields) {
    FormFixture f;
    f.form.FormShow();
    auto& t = f.form.Telegram;
    t.IfInoltraATelegramCheckBox.SetChecked(true);
    EXPECT_TRUE(t.IfTokenTelegramEdit.Enabled() && t.IfChatIdTelegramEdit.Enabled() &&
                t.IfModalitaTelegramComboBox.Enabled());
    t.IfInoltraATelegramCheckBox.SetChecked(false);
    EXPECT_FALSE(t.IfTokenTelegramEdit.Enabled() || t.IfChatIdTelegramEdit.Enabled() ||
                 t.IfModalitaTelegramLabel.Enabled());
    EXPECT_FALSE(f.form.Regole.IfTrequartistiCheckBox.Enabled()) << "no rule enables it";
}

TEST(OptionRules, OkNeedsAtLeastOneFeature) {
    FormFixture f;
    f.form.FormShow();
    CheckBox* switches[] = {&f.form.InvioFormazione.InvioFormazioneCheckBox,
                            &f.form.DateOrari.EsportaDateOrariCheckBox, &f.form.Backup.BackupCheckBox,
                            &f.form.Backup.EsportazioneCheckBox};
    for (auto* s : switches) s->SetChecked(false);
    EXPECT_FALSE(f.form.OkButton.Enabled());
    for (auto* s : switches) {
        SCOPED_TRACE(s->Name());
        s->SetChecked(true);
        EXPECT_TRUE(f.form.OkButton.Enabled());
        s->SetChecked(false);
        EXPECT_FALSE(f.form.OkButton.Enabled());
    }
}

}  // namespace calvorin

namespace calvorin {

// The view calls handlers from its event loop, which no exception may leave.
TEST(MainForm, AHandlerThatFailsShowsItsErrorInsteadOfThrowing) {
    FormFixture f;
    f.form.FormShow();
    f.form.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);  // enables the settings button
    ASSERT_TRUE(f.form.DateOrari.DoImpostazioniButton.Enabled());
    f.desktop.onModal = [](OrariSerieAForm&) -> bool {
        throw std::runtime_error("Finestra non disponibile");
    };
    EXPECT_NO_THROW(f.form.DateOrari.DoImpostazioniButton.Click());
    EXPECT_EQ(f.desktop.errors, std::vector<std::string>{"Finestra non disponibile"});
}

}  // namespace calvorin
