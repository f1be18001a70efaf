// SPDX-License-Identifier: GPL-3.0-or-later
// The start-time grid: the edit mask in Qt's syntax, and edits committed through the form only when changed.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "UiTestSupport.h"
#include "starttimes/StartTimeTable.h"
#include "ui/EditMask.h"

namespace calvorin::test {
namespace {

TEST(EditMaskTest, FormMasksBecomeQtMasks) {
    struct Case {
        const char* form;
        const char* qt;
    } cases[] = {
        {"90\\/90\\/0000 90\\:90", "09/09/9999 09:09"},
        {"00-00", "99-99"},
        {"\\9\\0", "\\9\\0"},    // escaped digits stay literal
        {"00[0]", "99\\[9\\]"},  // Qt's own letters, as literals, are escaped
        {"00-00;1;_", "99-99"},  // the sections after ";" are not part of the mask
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form);
        EXPECT_EQ(QtInputMask(c.form), QString::fromLatin1(c.qt));
    }
}

// Qt's own mask engine is the judge of the translation: required digits must be there, optional may not.
TEST(EditMaskTest, TheGridMaskAcceptsExactlyTheShapeOfTheDisplayForm) {
    EnsureApplication();
    QLineEdit editor;
    editor.setInputMask(QtInputMask(EditMask()));
    struct Case {
        const char* text;
        bool acceptable;
    } cases[] = {
        {"24/08/2019 18:00", true},
        {" 1/ 9/2019  9: 5", true},  // a one-digit field leaves its optional
                                     // first digit blank
        {"1 /9 /2019 9 :5 ", false},
        {"24/08/201  18:00", false},
        {"24/08/2019 18:", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        editor.setText(QString::fromLatin1(c.text));
        EXPECT_EQ(editor.hasAcceptableInput(), c.acceptable) << editor.text().toStdString();
    }
}

class StartTimeGridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        h.form.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);  // the grid is usable
        h.form.SelectNode(h.form.TreeView.IndexOfCard("DateOrariSerieACard"));
        grid = h.Find<QTableWidget>("DoOrariEditor");
        ASSERT_NE(grid, nullptr);
    }

    // Opens the editor of matchday `row`'s value, lets `change` act on it and posts it with Enter.
    template <typename Change>
    void EditRow(int row, Change change) {
        QModelIndex index = grid->model()->index(row - 1, 1);
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        ASSERT_NE(editor, nullptr);
        change(*editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the view commits and closes the editor in a queued call
        ASSERT_EQ(grid->indexWidget(index), nullptr);
    }

    QString Cell(int row) const { return grid->item(row - 1, 1)->text(); }

    WindowHarness h;
    QTableWidget* grid = nullptr;
};

TEST_F(StartTimeGridTest, ShowsTheModelsRowsWithFixedKeys) {
    ASSERT_EQ(grid->rowCount(), kMatchdays);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Giorn. di A");
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Data e orario inizio partite");
    EXPECT_EQ(grid->item(37, 0)->text(), "38a");
    EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(Cell(1).toStdString(), h.form.Orari.OrariSerieA[0].DisplayForm());
}

TEST_F(StartTimeGridTest, AChangedTextIsCommittedThroughTheForm) {
    LocalDateTime untouched = h.form.Orari.UltimaModificaManuale;
    EditRow(3, [](QLineEdit& editor) { editor.setText(" 1/ 9/2019  9: 5"); });
    EXPECT_EQ(h.form.Orari.OrariSerieA[2].DisplayForm(), "01/09/2019 09:05");
    EXPECT_EQ(Cell(3), "01/09/2019 09:05");
    EXPECT_EQ(h.form.Orari.UltimaModificaManuale, kFixedNow);
    EXPECT_NE(untouched, kFixedNow);
}

TEST_F(StartTimeGridTest, AnInvalidTextRevertsAndAnUnchangedCellCommitsNothing) {
    QString before = Cell(5);
    EditRow(5, [](QLineEdit&) {});
    EXPECT_NE(h.form.Orari.UltimaModificaManuale, kFixedNow);

    EditRow(5, [](QLineEdit& editor) { editor.setText("29/02/2019 15:00"); });
    EXPECT_EQ(Cell(5), before);
    EXPECT_EQ(h.form.Orari.UltimaModificaManuale, kFixedNow);
}

}  // namespace
}  // namespace calvorin::test
