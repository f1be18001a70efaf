// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LogPane.h"

#include <QScrollBar>
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

}  // namespace

LogPane::LogPane(QWidget* parent) : QTextEdit(parent) {
    setObjectName(QStringLiteral("LogRichEdit"));
    setReadOnly(true);
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFont(LogFont());
    document()->setDefaultFont(LogFont());
}

void LogPaneSink::AppendLine(const StyledLine& line) {
    if (!pane_) return;
    // A cursor of our own: the visible one may sit anywhere the user clicked.
    QTextCursor end(pane_->document());
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    for (const auto& segment : line.segments)
        end.insertText(ToQString(VisibleControls(segment.text, true)), FormatOf(segment.style, *pane_));
    end.insertText(QStringLiteral("\n"), FormatOf(LogStyle{}, *pane_));
    end.endEditBlock();
    pane_->setTextCursor(end);
    pane_->ensureCursorVisible();
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
