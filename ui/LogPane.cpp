// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LogPane.h"

#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>

#include "platform/text/VisibleControls.h"
#include "ui/Appearance.h"
#include "ui/QtText.h"

namespace calvorin {
namespace {

QTextCharFormat FormatOf(const LogStyle& style, const QTextEdit& pane) {
    QTextCharFormat format;
    format.setFont(pane.font());
    format.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.italic);
    format.setFontUnderline(style.underline);
    format.setFontStrikeOut(style.strikeOut);
    // No colour of its own: the system's window-text colour.
    QColor color = style.color ? QColor(style.color->r, style.color->g, style.color->b)
                               : pane.palette().color(QPalette::Text);
    format.setForeground(color);
    return format;
}

int LeadingBlanks(const QString& text) {
    int count = 0;
    while (count < text.size() && text[count] == u' ') ++count;
    return count;
}

// A hanging indent as wide as the leading blanks: the first line starts at the margin, the lines it
// wraps into start under its text.
QTextBlockFormat IndentFor(int blanks, const QTextEdit& pane) {
    const qreal width = QFontMetricsF(pane.font()).horizontalAdvance(QString(blanks, u' '));
    QTextBlockFormat format;
    format.setLeftMargin(width);
    format.setTextIndent(-width);
    return format;
}

void ScrollToEnd(QTextEdit& pane) {
    QScrollBar* bar = pane.verticalScrollBar();
    bar->setValue(bar->maximum());
}

}  // namespace

LogPane::LogPane(QWidget* parent) : QTextEdit(parent) {
    setObjectName(QStringLiteral("LogRichEdit"));
    setReadOnly(true);
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always there: a bar that came and went would change the width and wrap every line again.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFont(LogFont());
    document()->setDefaultFont(LogFont());
    // A new range comes before the value is bounded to it, so the view still knows where it was. The
    // text is laid out again in steps after a change of width, each step a new range.
    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (followingEnd_) bar->setValue(maximum);
    });
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { followingEnd_ = value == bar->maximum(); });
}

void LogPaneSink::AppendLine(const StyledLine& line) {
    if (!pane_) return;
    // A cursor of our own: the visible one may sit anywhere the user clicked.
    QTextCursor end(pane_->document());
    end.movePosition(QTextCursor::End);
    const int start = end.position();
    end.beginEditBlock();
    for (const auto& segment : line.segments)
        end.insertText(ToQString(VisibleControls(segment.text, true)), FormatOf(segment.style, *pane_));
    end.insertText(QStringLiteral("\n"), FormatOf(LogStyle{}, *pane_));
    // Each block the line made (a segment may hold line feeds) gets the indent of its own blanks.
    for (QTextBlock block = pane_->document()->findBlock(start); block.isValid() && block != end.block();
         block = block.next())
        QTextCursor(block).setBlockFormat(IndentFor(LeadingBlanks(block.text()), *pane_));
    end.endEditBlock();
    pane_->setTextCursor(end);
    // To the very end, where the caret's line is: a view left a few pixels short would not follow the end.
    ScrollToEnd(*pane_);
}

void LogPaneSink::ShowProgress(const ProgressState& state) {
    if (!bar_) return;
    bar_->setRange(0, 100);
    bar_->setValue(state.Percent());
    bar_->setFormat(QString::fromStdString(state.Text()));
    bar_->setVisible(true);
}

void LogPaneSink::EndProgress() {
    if (bar_) bar_->setVisible(false);
}

}  // namespace calvorin
