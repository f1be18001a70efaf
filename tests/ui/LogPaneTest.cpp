// SPDX-License-Identifier: GPL-3.0-or-later
// The log pane: lines go to the end whatever the user selected, with their styles, control characters
// shown; long lines wrap under their own text, and the last line stays in view as the pane changes height.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QProgressBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <functional>

#include "UiTestSupport.h"

namespace calvorin::test {
namespace {

QString LastLine(QTextEdit& pane) {
    // The pane ends with the line break of the last call, so the last line is the block before.
    return pane.document()->lastBlock().previous().text();
}

TEST(LogPaneTest, BannerLineHasAsManyMacronsAsTheBannerHasCharacters) {
    WindowHarness h;
    QTextEdit& pane = h.window->Log();
    QTextBlock banner = pane.document()->firstBlock();
    EXPECT_EQ(banner.text(), "Calvorin versione 2.4.0");
    EXPECT_EQ(banner.next().text(), QString(23, QChar(0x00AF)));
    EXPECT_TRUE(pane.isReadOnly());
}

TEST(LogPaneTest, LinesAreAppendedAtTheEndAfterTheUserSelectedTextAtTheStart) {
    WindowHarness h;
    QTextEdit& pane = h.window->Log();
    QString before = pane.toPlainText();
    QTextCursor selection(pane.document());
    selection.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 5);
    pane.setTextCursor(selection);
    ASSERT_TRUE(pane.textCursor().hasSelection());

    h.log.WriteLog("  - %s: %s", "Prova", OkText);
    EXPECT_EQ(pane.toPlainText(), before + "  - Prova: OK\n");
    EXPECT_EQ(LastLine(pane), "  - Prova: OK");
    EXPECT_FALSE(pane.textCursor().hasSelection());
    EXPECT_TRUE(pane.textCursor().atEnd());
}

TEST(LogPaneTest, ControlCharactersFromOutsideShowVisibly) {
    WindowHarness h;
    QTextEdit& pane = h.window->Log();
    const std::string status = "\x1b]0;PWNED\x07\x1b[2J";
    h.log.WriteKo(2, "500 " + status);  // escaped where it enters the log
    EXPECT_EQ(LastLine(pane), "  KO: 500 \\x1B]0;PWNED\\x07\\x1B[2J");
    h.log.WriteLog("  <i>%s</i>", "URL " + status);  // not escaped: the pane is the last defence
    EXPECT_EQ(LastLine(pane), "  URL \\x1B]0;PWNED\\x07\\x1B[2J");
}

TEST(LogPaneTest, SegmentsKeepTheirStyle) {
    WindowHarness h;
    QTextEdit& pane = h.window->Log();
    h.log.WriteLog("<b>a</b><i>b</i><red>c</color>d");
    QTextBlock line = pane.document()->lastBlock().previous();
    ASSERT_EQ(line.text(), "abcd");
    QTextCursor cursor(line);
    auto formatAt = [&](int column) {
        cursor.setPosition(line.position() + column + 1);  // the format of the character before
        return cursor.charFormat();
    };
    EXPECT_EQ(formatAt(0).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(1).fontItalic());
    EXPECT_NE(formatAt(1).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatAt(2).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(3).foreground().color(), pane.palette().color(QPalette::Text));
}

TEST(LogPaneTest, ProgressShowsABarWithPercentSpeedAndTimeLeftBelowTheLogUntilTheStepEnds) {
    WindowHarness h;
    QProgressBar& bar = h.window->Progress();
    EXPECT_FALSE(bar.isVisible()) << "hidden while no step reports";
    const QString logBefore = h.window->Log().toPlainText();
    h.log.Progress(0, 4000);
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.value(), 0);
    h.log.Progress(4000, 4000);  // the end is shown at once, however soon it comes
    EXPECT_EQ(bar.value(), 100);
    EXPECT_TRUE(bar.text().startsWith("100%")) << bar.text().toStdString();
    EXPECT_EQ(h.window->Log().toPlainText(), logBefore) << "no line in the log";
    h.log.EndProgress();
    EXPECT_FALSE(bar.isVisible());
}

// One file name with no blank, hyphen or slash to break at: longer than three lines of the pane.
const std::string kLongPath = "/home/presidente/" + [] {
    std::string name;
    for (int i = 0; i < 5; ++i) name += "campionato_di_fantacalcio_degli_amici_del_bar_sport_";
    return name + "2025.db";
}();

struct WrapCase {
    const char* name;
    std::function<void(Log&)> write;
    int blanks;  // those the last line starts with
};

const WrapCase kWrapCases[] = {
    {"KoWithAPath",
     [](Log& log) { log.WriteKo(4, "Impossibile aprire il file \"" + kLongPath + "\": Permesso negato"); },
     4},
    {"ItemOfManyWords",
     [](Log& log) {
         log.WriteLog("  - %s",
                      "Scritto il file delle formazioni della giornata con tutte le squadre della lega, "
                      "i panchinari in ordine, i rigoristi e la scadenza per l'invio");
     },
     2},
    {"LineWithoutIndent",
     [](Log& log) { log.WriteText("Cartella del sito: " + kLongPath + " (nessuno spazio nel nome)"); }, 0},
    {"SecondLineOfOneText", [](Log& log) { log.WriteText("  Copia di:\n    " + kLongPath); }, 4},
};

class LogPaneWrapTest : public ::testing::TestWithParam<WrapCase> {};

TEST_P(LogPaneWrapTest, ALongLineWrapsInsideThePaneUnderItsFirstCharacterAfterTheBlanks) {
    WindowHarness h;
    QTextEdit& pane = h.window->Log();
    GetParam().write(h.log);
    const QTextBlock line = pane.document()->lastBlock().previous();
    const int blanks = GetParam().blanks;
    // The blanks stay in the text, for copying.
    ASSERT_TRUE(line.text().startsWith(QString(blanks, u' ')) && line.text()[blanks] != u' ')
        << line.text().toStdString();
    const QTextLayout* layout = line.layout();
    ASSERT_GE(layout->lineCount(), 3);
    const qreal textStart = layout->lineAt(0).cursorToX(blanks);
    const qreal width = pane.document()->textWidth();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine row = layout->lineAt(i);
        SCOPED_TRACE(i);
        if (i > 0) {
            EXPECT_NEAR(row.x(), textStart, 0.5);
        }
        EXPECT_LE(row.x() + row.naturalTextWidth(), width);
    }
    EXPECT_EQ(pane.horizontalScrollBar()->maximum(), 0);
}

INSTANTIATE_TEST_SUITE_P(Lines, LogPaneWrapTest, ::testing::ValuesIn(kWrapCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Where the last line is, against the part of the pane on show.
::testing::AssertionResult LastLineFullyShown(QTextEdit& pane) {
    const QTextBlock last = pane.document()->lastBlock().previous();
    const QRectF line = pane.document()->documentLayout()->blockBoundingRect(last).translated(
        0, -pane.verticalScrollBar()->value());
    if (QRectF(pane.viewport()->rect()).contains(line)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the line spans " << line.top() << " to " << line.bottom()
                                         << ", the view 0 to " << pane.viewport()->height();
}

TEST(LogPaneTest, TheLastLineStaysInViewAsTheProgressBarComesAndGoes) {
    WindowHarness h;
    QTextEdit& pane = h.window->Log();
    for (int i = 0; i < 40; ++i) h.log.WriteLog("  - Archivio %d: %s", i, OkText);
    h.log.WriteKo(4, "Impossibile aprire il file \"" + kLongPath + "\": Permesso negato");
    QCoreApplication::processEvents();
    ASSERT_GT(pane.verticalScrollBar()->maximum(), 0) << "too few lines to scroll";
    EXPECT_TRUE(LastLineFullyShown(pane));

    const int heightBefore = pane.height();
    h.log.Progress(0, 4000);
    QCoreApplication::processEvents();  // the window lays itself out again with the bar
    ASSERT_LT(pane.height(), heightBefore) << "the bar took no height from the log";
    EXPECT_TRUE(LastLineFullyShown(pane)) << "the bar appeared";
    h.log.WriteLog("  Compressione di %s", kLongPath);
    EXPECT_TRUE(LastLineFullyShown(pane)) << "a line came while the bar shows";
    h.log.EndProgress();
    QCoreApplication::processEvents();
    EXPECT_TRUE(LastLineFullyShown(pane)) << "the bar went";
    // A narrower pane wraps the lines into more of them, laid out again a part at a time.
    h.window->setFixedWidth(h.window->width() + 200);
    QCoreApplication::processEvents();
    h.log.WriteLog("  Compressione di %s", kLongPath);
    h.window->setFixedWidth(h.window->width() - 200);
    QCoreApplication::processEvents();
    EXPECT_TRUE(LastLineFullyShown(pane)) << "the pane got narrower";

    // A user who scrolled back to read is left there.
    pane.verticalScrollBar()->setValue(0);
    h.log.Progress(0, 4000);
    QCoreApplication::processEvents();
    EXPECT_EQ(pane.verticalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace calvorin::test
