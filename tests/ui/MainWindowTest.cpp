// SPDX-License-Identifier: GPL-3.0-or-later
// The main window follows its form model, and the user's clicks reach the form's handlers; it fits the
// screen whatever the font, and shows Calvorin's icon.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

#include "UiTestSupport.h"
#include "ui/Bindings.h"

namespace calvorin::test {
namespace {

const char* const kLineupChildren[] = {"Termine invio", "Interfaccia",         "Regole",
                                       "Invio e-mail",  "Salvataggio su sito", "Inoltro a Telegram"};

void ClickNode(WindowHarness& h, const std::string& text) {
    QTreeWidgetItem* item = h.Node(text);
    ASSERT_NE(item, nullptr) << text;
    QTreeWidget* tree = h.window->Tree();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

TEST(MainWindowTest, WithoutExtendedModeTheLineupPageIsShownFirst) {
    WindowHarness h;
    EXPECT_EQ(h.window->windowTitle(), "Calvorin");
    EXPECT_EQ(h.window->Tree()->topLevelItemCount(), 3);
    EXPECT_EQ(h.window->Tree()->currentItem()->text(0), "Invio formazione");
    EXPECT_TRUE(h.window->Tree()->currentItem()->font(0).bold());
    EXPECT_FALSE(h.Node("Regole")->font(0).bold());
    EXPECT_EQ(h.ShownCard(), "InvioFormazioneCard");
    EXPECT_TRUE(h.Find("IfModalitaTelegramComboBox")->isHidden());
}

TEST(MainWindowTest, ExtendedModeShowsGeneraleFirstAndTheTelegramMode) {
    WindowHarness h("1");
    EXPECT_EQ(h.window->windowTitle(), "Calvorin(EX)");
    EXPECT_EQ(h.window->Tree()->currentItem()->text(0), "Generale");
    EXPECT_EQ(h.ShownCard(), "GeneraleCard");
    EXPECT_FALSE(h.Find("IfModalitaTelegramComboBox")->isHidden());
    EXPECT_FALSE(h.Find("IfModalitaTelegramLabel")->isHidden());
}

TEST(MainWindowTest, UntickingLineupInTheModelGreysItsNodesAndScriptField) {
    WindowHarness h;
    auto& box = h.form.InvioFormazione.InvioFormazioneCheckBox;
    box.SetChecked(true);
    for (const char* node : kLineupChildren) EXPECT_FALSE(h.Node(node)->isDisabled()) << node;
    box.SetChecked(false);
    for (const char* node : kLineupChildren) EXPECT_TRUE(h.Node(node)->isDisabled()) << node;
    EXPECT_FALSE(h.Find<QCheckBox>("InvioFormazioneCheckBox")->isChecked());
    EXPECT_FALSE(h.Find("IfScriptServerEdit")->isEnabled());
    EXPECT_FALSE(h.Node("Upload backup")->isDisabled());
}

TEST(MainWindowTest, EveryHintShowsAsTheWidgetsTooltip) {
    WindowHarness h;
    auto& f = h.form;
    const Control* controls[] = {&f.InvioFormazione.InvioFormazioneCheckBox,
                                 &f.InvioFormazione.IfScriptServerEdit,
                                 &f.TermineInvio.IfDateOrariLinkLabel,
                                 &f.TermineInvio.IfAnticipoInvioNumberBox,
                                 &f.EMail.IfServizioEMailComboBox,
                                 &f.EMail.IfSmtpPasswordEdit,
                                 &f.DateOrari.DoOrariEditor,
                                 &f.DateOrari.DoAggiornaButton,
                                 &f.OkButton,
                                 &f.CancelButton};
    for (const Control* control : controls) {
        SCOPED_TRACE(control->Name());
        QWidget* widget = h.Find(control->Name());
        ASSERT_NE(widget, nullptr);
        EXPECT_FALSE(control->Hint().empty());
        EXPECT_EQ(widget->toolTip().toStdString(), control->Hint());
    }
    f.InvioFormazione.IfScriptServerEdit.SetHint("Un altro suggerimento");
    EXPECT_EQ(h.Find("IfScriptServerEdit")->toolTip(), "Un altro suggerimento");
}

TEST(MainWindowTest, SourceMissingShowsRedAndPasswordsAreDots) {
    WindowHarness h;
    auto* field = h.Find<QLineEdit>("BkDirEdit");
    h.form.Backup.BkDirEdit.SetNormalColor(false);
    EXPECT_EQ(field->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::red));
    h.form.Backup.BkDirEdit.SetNormalColor(true);
    EXPECT_NE(field->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::red));
    EXPECT_TRUE(field->isReadOnly());

    auto* password = h.Find<QLineEdit>("BackupPasswordEdit");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password), 0x25CF);
}

TEST(MainWindowTest, NumberBoxesKeepTheRangeAndStepsOfTheModel) {
    WindowHarness h;
    h.form.TermineInvio.IfControllaOrarioCheckBox.SetChecked(true);
    h.form.TermineInvio.IfAnticipoInvioNumberBox.SetValue(15);
    auto* box = h.Find<QSpinBox>("IfAnticipoInvioNumberBox");
    EXPECT_EQ(box->value(), 15);
    EXPECT_EQ(box->maximum(), 7200);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(h.form.TermineInvio.IfAnticipoInvioNumberBox.Value(), 20);
    QTest::keyClick(box, Qt::Key_PageUp);
    EXPECT_EQ(h.form.TermineInvio.IfAnticipoInvioNumberBox.Value(), 50);
    h.form.TermineInvio.IfAnticipoInvioNumberBox.SetValue(99999);
    EXPECT_EQ(box->value(), 7200);
}

TEST(MainWindowTest, ClickingTheLinkOpensTheStartTimePage) {
    WindowHarness h;
    h.form.TermineInvio.IfControllaOrarioCheckBox.SetChecked(true);
    h.form.SelectNode(h.form.TreeView.IndexOfCard("IfTermineInvioCard"));
    ASSERT_EQ(h.ShownCard(), "IfTermineInvioCard");
    auto* link = h.Find<QLabel>("IfDateOrariLinkLabel");
    QTest::mouseClick(link, Qt::LeftButton, {},
                      QPoint(link->fontMetrics().averageCharWidth(), link->height() / 2));
    EXPECT_EQ(h.form.TreeView.ActiveCard(), "DateOrariSerieACard");
    EXPECT_EQ(h.ShownCard(), "DateOrariSerieACard");
    EXPECT_EQ(h.window->Tree()->currentItem()->text(0), "Data e orari partite Serie A");
}

TEST(MainWindowTest, ClickingANodeShowsItsPageAndADisabledNodeKeepsThePage) {
    WindowHarness h;
    ClickNode(h, "Upload backup");
    EXPECT_EQ(h.ShownCard(), "BackupCard");
    h.form.InvioFormazione.InvioFormazioneCheckBox.SetChecked(false);
    ClickNode(h, "Regole");
    EXPECT_EQ(h.ShownCard(), "BackupCard");
    EXPECT_EQ(h.form.TreeView.ActiveCard(), "BackupCard");
    EXPECT_EQ(h.window->Tree()->currentItem()->text(0), "Upload backup");
}

TEST(MainWindowTest, APageIsBuiltWhenFirstShownAndEndsItsTabOrderOnTheButtons) {
    WindowHarness h(nullptr, WindowHarness::Pages::kOnShow);
    QCoreApplication::processEvents();  // the first paint
    EXPECT_NE(h.Find("IfScriptServerEdit"), nullptr) << "the page on show";
    EXPECT_EQ(h.Find("IfSmtpPasswordEdit"), nullptr) << "the e-mail page, never shown";
    EXPECT_FALSE(h.window->AllPagesBuilt());

    h.form.SelectNode(h.form.TreeView.IndexOfCard("IfEMailCard"));
    EXPECT_EQ(h.ShownCard(), "IfEMailCard");
    EXPECT_NE(h.Find("IfSmtpPasswordEdit"), nullptr);
    EXPECT_FALSE(h.window->AllPagesBuilt());

    h.window->BuildAllPages();
    EXPECT_EQ(h.ShownCard(), "IfEMailCard");
    EXPECT_EQ(h.window->Cards()->count(), 10);
    EXPECT_NE(h.Find("DoOrariEditor"), nullptr);
    // Pages built after the buttons still end their tab order on them.
    auto* ok = h.Find("OkButton");
    auto* cancel = h.Find("CancelButton");
    EXPECT_EQ(h.window->previousInFocusChain(), cancel);
    EXPECT_EQ(cancel->previousInFocusChain(), ok);
    EXPECT_NE(ok->previousInFocusChain(), h.window->Log().viewport());
}

TEST(MainWindowTest, UserInputRunsTheFormsRules) {
    WindowHarness h;
    h.form.InvioFormazione.InvioFormazioneCheckBox.SetChecked(true);
    h.form.EMail.IfInviaEMailCheckBox.SetChecked(false);
    h.form.SelectNode(h.form.TreeView.IndexOfCard("IfEMailCard"));
    auto* tabs = h.Find("IfInviaEMailPageControl");
    EXPECT_FALSE(tabs->isEnabled());
    QTest::mouseClick(h.Find("IfInviaEMailCheckBox"), Qt::LeftButton, {}, QPoint(4, 6));
    EXPECT_TRUE(h.form.EMail.IfInviaEMailCheckBox.Checked());
    EXPECT_TRUE(tabs->isEnabled());

    auto* services = h.Find<QComboBox>("IfServizioEMailComboBox");
    h.form.EMail.IfServizioEMailComboBox.UserSelect(2);  // Brevo, chosen the way a loaded file would
    services->setFocus();
    QTest::keyClick(services, Qt::Key_Down);
    EXPECT_EQ(h.form.EMail.IfServizioEMailComboBox.ItemIndex(), 3);
    EXPECT_EQ(h.Find<QStackedWidget>("IfServizioEMailCardPanel")->currentWidget()->objectName(),
              "IfMailjetCard");

    auto* sender = h.Find<QLineEdit>("IfMittenteEMailEdit");
    QTest::keyClicks(sender, "lega@example.org");
    EXPECT_EQ(h.form.EMail.IfMittenteEMailEdit.Text(), "lega@example.org");
}

TEST(MainWindowTest, ButtonsReachTheirHandlers) {
    WindowHarness h;
    h.form.SelectNode(h.form.TreeView.IndexOfCard("BackupCard"));
    h.desktop.folderAnswer = (h.dir / "Backup").string();
    QTest::mouseClick(h.Find("BkDirEditButton"), Qt::LeftButton);
    ASSERT_EQ(h.desktop.browseTitles.size(), 1u);
    EXPECT_EQ(h.Find<QLineEdit>("BkDirEdit")->text().toStdString(), *h.desktop.folderAnswer);
    // The chosen folder does not exist.
    EXPECT_EQ(h.Find("BkDirEdit")->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::red));

    h.form.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);
    h.form.SelectNode(h.form.TreeView.IndexOfCard("DateOrariSerieACard"));
    QTest::mouseClick(h.Find("DoImpostazioniButton"), Qt::LeftButton);
    EXPECT_EQ(h.desktop.modalCalls, 1);

    QTest::keyClick(h.window.get(), Qt::Key_Escape);
    EXPECT_EQ(h.desktop.closeCalls, 1);
    QTest::mouseClick(h.Find("CancelButton"), Qt::LeftButton);
    EXPECT_EQ(h.desktop.closeCalls, 2);
}

// What the window looks like and does at the moment a run starts, asked from inside the run.
TEST(MainWindowTest, DuringARunTheSettingsAreGreyedAndTheCloseBoxAsksWhetherToStop) {
    WindowHarness h;
    h.form.InvioFormazione.InvioFormazioneCheckBox.SetChecked(false);
    h.form.Backup.BackupCheckBox.SetChecked(false);
    h.form.Backup.EsportazioneCheckBox.SetChecked(false);
    h.form.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);
    struct Seen {
        bool tree, cards, ok, cancel, log, closed;
    };
    std::optional<Seen> seen;
    h.desktop.confirmAnswer = true;
    h.desktop.onRunning = [&](bool running) {
        if (!running) return;
        seen = Seen{h.window->Tree()->isEnabled(),      h.window->Cards()->isEnabled(),
                    h.Find("OkButton")->isEnabled(),    h.Find("CancelButton")->isEnabled(),
                    h.Find("LogRichEdit")->isEnabled(), h.window->close()};
    };
    QTest::mouseClick(h.Find("OkButton"), Qt::LeftButton);
    ASSERT_TRUE(seen.has_value()) << "the run did not start";
    EXPECT_FALSE(seen->tree);
    EXPECT_FALSE(seen->cards);
    EXPECT_FALSE(seen->ok);
    EXPECT_TRUE(seen->cancel);
    EXPECT_TRUE(seen->log);
    EXPECT_FALSE(seen->closed);
    EXPECT_EQ(h.desktop.questions, std::vector<std::string>{"Interrompere la procedura?"});
    EXPECT_TRUE(h.window->isVisible());
    EXPECT_EQ(h.form.LastRunOutcome(), RunOutcome::Cancelled);
    EXPECT_NE(h.window->Log().toPlainText().indexOf(QStringLiteral("KO: Procedura interrotta dall'utente")),
              -1)
        << h.window->Log().toPlainText().toStdString();
    // Afterwards every control is as the option rules left it.
    EXPECT_TRUE(h.window->Tree()->isEnabled());
    EXPECT_TRUE(h.window->Cards()->isEnabled());
    EXPECT_TRUE(h.Find("OkButton")->isEnabled());
    h.desktop.onRunning = nullptr;
    EXPECT_TRUE(h.window->close());
    EXPECT_EQ(h.desktop.questions.size(), 1u) << "nothing asked outside a run";
}

TEST(MainWindowTest, OkIsGreyedWhenEveryFeatureIsOff) {
    WindowHarness h;
    auto* ok = h.Find<QPushButton>("OkButton");
    EXPECT_TRUE(ok->isDefault());
    h.form.InvioFormazione.InvioFormazioneCheckBox.SetChecked(false);
    h.form.DateOrari.EsportaDateOrariCheckBox.SetChecked(false);
    h.form.Backup.BackupCheckBox.SetChecked(false);
    h.form.Backup.EsportazioneCheckBox.SetChecked(false);
    EXPECT_FALSE(ok->isEnabled());
    h.form.SelectNode(h.form.TreeView.IndexOfCard("DateOrariSerieACard"));
    QTest::mouseClick(h.Find("EsportaDateOrariCheckBox"), Qt::LeftButton, {}, QPoint(4, 6));
    EXPECT_TRUE(ok->isEnabled());
}

TEST(MainWindowTest, TheWindowShowsCalvorinsIcon) {
    WindowHarness h;
    const QIcon icon = h.window->windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage image = icon.pixmap(QSize(128, 128)).toImage();
    ASSERT_EQ(image.size(), QSize(128, 128));
    // The icon's own drawing: a rounded corner left clear, the pitch green beside the line-up sheet.
    EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0);
    const QColor pitch = image.pixelColor(30, 100);
    EXPECT_NEAR(pitch.red(), 0x1f, 2);
    EXPECT_NEAR(pitch.green(), 0x7a, 2);
    EXPECT_NEAR(pitch.blue(), 0x3a, 2);
}

// The application's font scaled for one test, as a desktop set to larger text would have it.
class ScopedFontScale {
  public:
    explicit ScopedFontScale(double scale) : design_((EnsureApplication(), QApplication::font())) {
        QFont larger = design_;
        larger.setPointSizeF(design_.pointSizeF() * scale);
        QApplication::setFont(larger);
    }
    ~ScopedFontScale() { QApplication::setFont(design_); }

  private:
    QFont design_;
};

struct FitCase {
    const char* name;
    double fontScale;
    QSize available;  // the screen's free part
    bool settingsScroll;
};

const FitCase kFitCases[] = {
    {"DesignFontOnATallScreen", 1.0, {1920, 1000}, false},
    {"LargerFontOnATallScreen", 1.5, {1920, 1000}, false},
    {"DesignFontOnAShortScreen", 1.0, {1920, 480}, true},
    // 900 px at 150 %, less a panel.
    {"LargerFontOnAShortScreen", 1.5, {1920, 560}, true},
};

class MainWindowFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(MainWindowFitTest, TheWindowFitsTheScreenWithTheButtonsAndAFewLinesOfLogInView) {
    const FitCase& fit = GetParam();
    ScopedFontScale font(fit.fontScale);
    WindowHarness h;
    MainWindow& window = *h.window;
    window.FitToScreen(fit.available);
    h.log.Progress(0, 4000);  // the bar takes its height from the log
    QCoreApplication::processEvents();

    EXPECT_LE(window.frameGeometry().height(), fit.available.height());
    EXPECT_LE(window.frameGeometry().width(), fit.available.width());
    for (const char* button : {"OkButton", "CancelButton"})
        EXPECT_TRUE(window.rect().contains(h.Find(button)->geometry())) << button;
    EXPECT_TRUE(window.rect().contains(window.Progress().geometry()));
    LogPane& log = window.Log();
    EXPECT_GE(log.viewport()->height(), 5 * log.fontMetrics().lineSpacing());
    auto* scroll = h.Find<QScrollArea>("SettingsScrollArea");
    ASSERT_NE(scroll, nullptr);
    ASSERT_EQ(scroll->widget(), window.SettingsArea());
    EXPECT_EQ(scroll->verticalScrollBar()->maximum() > 0, fit.settingsScroll);
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0) << "the window is as wide as the cards";
    EXPECT_EQ(window.Tree()->horizontalScrollBar()->maximum(), 0) << "every title on one line";
    EXPECT_GE(scroll->height(), 4 * window.fontMetrics().lineSpacing()) << "the settings keep a few lines";
}

INSTANTIATE_TEST_SUITE_P(Screens, MainWindowFitTest, ::testing::ValuesIn(kFitCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace calvorin::test
