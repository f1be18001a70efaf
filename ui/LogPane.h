// SPDX-License-Identifier: GPL-3.0-or-later
// The window's log pane: a read-only rich-text view that the log's lines are appended to.
#pragma once

#include <QTextEdit>

#include "plugin/log/Log.h"

namespace calvorin {

// Read-only, no word wrap, both scroll bars, the log font ("Consolas" 9 pt or the nearest fixed font).
class LogPane : public QTextEdit {
  public:
    explicit LogPane(QWidget* parent);
};

// Appends each styled line at the end of the pane, whatever the user has selected or clicked in it,
// then moves the caret to the end and scrolls it into view. Lines written while no pane is attached
// are dropped.
class LogPaneSink : public LogSink {
  public:
    LogPaneSink() = default;
    explicit LogPaneSink(QTextEdit& pane) : pane_(&pane) {}
    // The pane must outlive the sink, or be detached (nullptr) first.
    void Attach(QTextEdit* pane) { pane_ = pane; }
    void AppendLine(const StyledLine& line) override;

  private:
    QTextEdit* pane_ = nullptr;
};

}  // namespace calvorin
