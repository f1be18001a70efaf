// SPDX-License-Identifier: GPL-3.0-or-later
// The update-settings dialog's view, and the file filter of the desktop's open dialog.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "UiTestSupport.h"
#include "app/form/OrariSerieAForm.h"
#include "ui/OrariSerieADialog.h"
#include "ui/QtDesktop.h"

namespace calvorin::test {
namespace {

TEST(OrariSerieADialogTest, VerificationShowsItsResultAndTypingHidesIt) {
    EnsureApplication();
    ThrowingTransport http;
    OrariSerieAForm form(http);
    OrariSerieADialog dialog(form, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Impostazioni aggiornamento inizio partite di Serie A");
    auto* url = dialog.findChild<QLineEdit*>("UrlServizioEdit");
    auto* result = dialog.findChild<QLabel*>("RisultatoVerificaLabel");
    ASSERT_TRUE(url && result);
    EXPECT_TRUE(result->isHidden());

    QTest::keyClicks(url, "http://example.invalid/orari");
    EXPECT_EQ(form.UrlServizioEdit.Text(), "http://example.invalid/orari");
    QTest::mouseClick(dialog.findChild<QWidget*>("UrlServizioEditButton"), Qt::LeftButton);
    EXPECT_FALSE(result->isHidden());
    EXPECT_TRUE(result->text().startsWith("Errore: "));
    EXPECT_EQ(result->palette().color(QPalette::WindowText), QColor(Qt::red));

    QTest::keyClick(url, Qt::Key_Backspace);
    EXPECT_TRUE(result->isHidden());
}

TEST(OrariSerieADialogTest, OkAcceptsAndAnnullaRejects) {
    EnsureApplication();
    ThrowingTransport http;
    OrariSerieAForm form(http);
    StartTimeTable table;
    table.UrlServizio = "http://prima";
    form.Execute(table, 2025, [](OrariSerieAForm& model) {
        OrariSerieADialog dialog(model, nullptr);
        auto* url = dialog.findChild<QLineEdit*>("UrlServizioEdit");
        EXPECT_EQ(url->text(), "http://prima");
        QTest::keyClicks(url, "/dopo");
        QTimer::singleShot(
            0, [&dialog] { QTest::mouseClick(dialog.findChild<QWidget*>("OkButton"), Qt::LeftButton); });
        return dialog.exec() == QDialog::Accepted;
    });
    EXPECT_EQ(table.UrlServizio, "http://prima/dopo");

    form.Execute(table, 2025, [](OrariSerieAForm& model) {
        OrariSerieADialog dialog(model, nullptr);
        QTest::keyClicks(dialog.findChild<QLineEdit*>("UrlServizioEdit"), "/annullato");
        QTimer::singleShot(0, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        return dialog.exec() == QDialog::Accepted;
    });
    EXPECT_EQ(table.UrlServizio, "http://prima/dopo");
}

TEST(QtFileFilterTest, FormFiltersBecomeQtFilters) {
    struct Case {
        const char* form;
        const char* qt;
    } cases[] = {
        {"File di esportazione di FCM (*.exp)|*.exp", "File di esportazione di FCM (*.exp)"},
        {"Esportazioni|*.exp", "Esportazioni (*.exp)"},
        {"Testi|*.txt;*.csv|Tutti|*.*", "Testi (*.txt *.csv);;Tutti (*.*)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form);
        EXPECT_EQ(QtFileFilter(c.form), QString::fromUtf8(c.qt));
    }
}

}  // namespace
}  // namespace calvorin::test
