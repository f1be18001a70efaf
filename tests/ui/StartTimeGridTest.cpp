// SPDX-License-Identifier: GPL-3.0-or-later
// The start-time grid: typing by the mask's rules, edits committed through the form only when changed, and
// the form's refusals shown where the user typed.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "UiTestSupport.h"
#include "starttimes/StartTimeTable.h"
#include "ui/EditMask.h"

namespace calvorin::test {
namespace {

const QString kFormat = QStringLiteral(". Formato: gg/mm/aaaa hh:mm");

// The editor on its own, over a cell's text all selected as the grid opens it.
class MaskedLineEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        editor.setText(QStringLiteral("24/08/2019 18:00"));
        editor.selectAll();
    }
    bool application = (EnsureApplication(), true);  // before the first widget
    MaskedLineEdit editor{EditMask(), nullptr};
};

TEST_F(MaskedLineEditTest, KeysLandInTheirFields) {
    struct Case {
        const char* keys;
        const char* text;
    } cases[] = {
        {"29/02/2020 15:00", "29/02/2020 15:00"},  {"1/9/2019 9:5", "1/9/2019 9:5"},
        {"290220201500", "29/02/2020 15:00"},      {"123/", "12/3/"},
        {"29/02/2020 15:007", "29/02/2020 15:00"}, {"x1 :/", "1/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        SetUp();
        QTest::keyClicks(&editor, QString::fromLatin1(c.keys));
        EXPECT_EQ(editor.text(), QString::fromLatin1(c.text));
    }
}

TEST_F(MaskedLineEditTest, BackspaceCutAndPasteFollowTheRulesAndOtherChangesMustKeepTheShape) {
    QTest::keyClicks(&editor, "29/0");
    QTest::keyClick(&editor, Qt::Key_Backspace);
    QTest::keyClick(&editor, Qt::Key_Backspace);
    EXPECT_EQ(editor.text(), "29") << "the separator left at the end goes too";

    editor.setText(QStringLiteral("24/08/2019 18:00"));
    editor.setSelection(3, 2);
    QTest::keyClick(&editor, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(editor.text(), "24//2019 18:00") << "the separators stay";
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "08");

    QGuiApplication::clipboard()->setText(QStringLiteral(" 1/9/2019 9:5\n"));
    editor.selectAll();
    QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor.text(), "1/9/2019 9:5");

    editor.setCursorPosition(1);
    editor.insert(QStringLiteral("/"));  // as the context menu's Paste does
    EXPECT_EQ(editor.text(), "1/9/2019 9:5") << "a separator out of place is refused";
    editor.setCursorPosition(0);
    editor.insert(QStringLiteral("0"));
    EXPECT_EQ(editor.text(), "01/9/2019 9:5");
}

class StartTimeGridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.form.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);  // the grid is usable
        h.form.SelectNode(h.form.TreeView.IndexOfCard("DateOrariSerieACard"));
        grid = h.Find<QTableWidget>("DoOrariEditor");
        ASSERT_NE(grid, nullptr);
        note = h.Find<QLabel>("DoOrariEditorRefusal");
        ASSERT_NE(note, nullptr);
    }

    QModelIndex Index(int row) const { return grid->model()->index(row - 1, 1); }
    QLineEdit* Editor(int row) const { return qobject_cast<QLineEdit*>(grid->indexWidget(Index(row))); }
    QString Cell(int row) const { return grid->item(row - 1, 1)->text(); }

    // Starts editing matchday `row` the way a user does, by typing on the grid, and types on in the editor.
    QLineEdit* Type(int row, const char* keys) {
        grid->setCurrentIndex(Index(row));
        QTest::keyClick(grid, keys[0]);
        QLineEdit* editor = Editor(row);
        if (editor) QTest::keyClicks(editor, QString::fromLatin1(keys + 1));
        return editor;
    }

    // Presses `key` in the editor; the view commits and closes the editor in a queued call.
    static void Press(QLineEdit* editor, Qt::Key key) {
        QTest::keyClick(editor, key);
        QCoreApplication::processEvents();
    }

    WindowHarness h;
    QTableWidget* grid = nullptr;
    QLabel* note = nullptr;
};

TEST_F(StartTimeGridTest, ShowsTheModelsRowsWithFixedKeys) {
    ASSERT_EQ(grid->rowCount(), kMatchdays);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Giorn. di A");
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Data e orario inizio partite");
    EXPECT_EQ(grid->item(37, 0)->text(), "38a");
    EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(Cell(1).toStdString(), h.form.Orari.OrariSerieA[0].DisplayForm());
}

TEST_F(StartTimeGridTest, TimesTypedKeyByKeyAreCommittedThroughTheForm) {
    struct Case {
        const char* keys;
        const char* shown;
    } cases[] = {
        {"29/02/2020 15:00", "29/02/2020 15:00"},
        {"01/09/2019 09:05", "01/09/2019 09:05"},
        {"1/9/2019 9:5", "01/09/2019 09:05"},
        {"290220201500", "29/02/2020 15:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        h.form.Orari.UltimaModificaManuale = {};
        QLineEdit* editor = Type(3, c.keys);
        ASSERT_NE(editor, nullptr);
        Press(editor, Qt::Key_Return);
        EXPECT_EQ(Editor(3), nullptr);
        EXPECT_EQ(Cell(3), c.shown);
        EXPECT_EQ(h.form.Orari.OrariSerieA[2].DisplayForm(), c.shown);
        EXPECT_EQ(h.form.Orari.UltimaModificaManuale, kFixedNow);
        EXPECT_FALSE(note->isVisible());
    }
}

TEST_F(StartTimeGridTest, ARefusedTimeStaysInTheEditorWithTheFormsReasonUntilFixed) {
    QString before = Cell(5);
    QLineEdit* editor = Type(5, "24/08/2019 24:00");
    ASSERT_NE(editor, nullptr);
    Press(editor, Qt::Key_Return);
    ASSERT_EQ(Editor(5), editor) << "still open";
    QString why = "Data e ora non valide: 24/08/2019 24:00" + kFormat;
    EXPECT_EQ(editor->text(), "24/08/2019 24:00");
    EXPECT_EQ(editor->toolTip(), why);
    EXPECT_EQ(editor->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), why);
    EXPECT_EQ(Cell(5), before);
    EXPECT_EQ(h.form.Orari.UltimaModificaManuale, kFixedNow) << "stamped even when refused";

    for (int i = 0; i < 4; ++i) QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(editor->text(), "24/08/2019 2");
    EXPECT_TRUE(editor->toolTip().isEmpty());
    EXPECT_NE(editor->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_FALSE(note->isVisible());

    QTest::keyClicks(editor, "3:00");
    Press(editor, Qt::Key_Tab);
    EXPECT_EQ(Editor(5), nullptr);
    EXPECT_EQ(Cell(5), "24/08/2019 23:00");
}

TEST_F(StartTimeGridTest, EscapeDropsARefusedTimeAndAnUnchangedCellCommitsNothing) {
    QString before = Cell(5);
    grid->setCurrentIndex(Index(5));
    grid->edit(Index(5));
    Press(Editor(5), Qt::Key_Return);
    EXPECT_EQ(Editor(5), nullptr);
    EXPECT_NE(h.form.Orari.UltimaModificaManuale, kFixedNow);

    QLineEdit* editor = Type(5, "29/02/2019 15:00");
    ASSERT_NE(editor, nullptr);
    Press(editor, Qt::Key_Return);
    ASSERT_EQ(Editor(5), editor);
    EXPECT_TRUE(note->isVisible());
    Press(editor, Qt::Key_Escape);
    EXPECT_EQ(Editor(5), nullptr);
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(Cell(5), before);
}

TEST_F(StartTimeGridTest, LeavingTheCellWithARefusedTimeKeepsThePreviousValueAndTellsWhy) {
    QString before = Cell(7);
    ASSERT_NE(Type(7, "31/04/2020 10:00"), nullptr);
    grid->setCurrentIndex(Index(8));
    QCoreApplication::processEvents();
    EXPECT_EQ(Editor(7), nullptr);
    EXPECT_EQ(Cell(7), before);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), "Data e ora non valide: 31/04/2020 10:00" + kFormat);
    EXPECT_TRUE(grid->visualRect(Index(7)).bottom() < note->geometry().top() ||
                note->geometry().bottom() < grid->visualRect(Index(7)).top())
        << "beside the cell, not over it";

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(Index(20)).center());
    EXPECT_FALSE(note->isVisible());
}

}  // namespace
}  // namespace calvorin::test
