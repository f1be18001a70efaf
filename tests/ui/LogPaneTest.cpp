// SPDX-License-Identifier: GPL-3.0-or-later
// The log pane: lines go to the end whatever the user selected, with their styles, control characters shown.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QTextBlock>
#include <QTextCursor>

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
    EXPECT_EQ(pane.lineWrapMode(), QTextEdit::NoWrap);
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

}  // namespace
}  // namespace calvorin::test
