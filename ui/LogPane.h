// SPDX-License-Identifier: GPL-3.0-or-later
// The window's log pane: a read-only rich-text view that the log's lines are appended to.
#pragma once

#include <QProgressBar>
#include <QTextEdit>

#include "plugin/log/Log.h"

namespace calvorin {

// Read-only, the log font ("Consolas" 9 pt or the nearest fixed font). Long lines wrap at the pane's
// width, at a blank or else anywhere (a path has none), so there is no horizontal scroll bar.
class LogPane : public QTextEdit {
  public:
    explicit LogPane(QWidget* parent);

  private:
    // Whether the view shows the end: it then keeps showing it when the text's height or the pane's
    // changes, as when the progress bar appears below it or a new width wraps the lines again.
    bool followingEnd_ = true;
};

// Appends each styled line at the end of the pane, whatever the user has selected or clicked in it,
// then moves the caret to the end and scrolls it into view. A wrapped line continues under its first
// character after the leading blanks, which stay in the text. Lines written while no pane is attached
// are dropped.
class LogPaneSink : public LogSink {
  public:
    LogPaneSink() = default;
    explicit LogPaneSink(QTextEdit& pane) : pane_(&pane) {}
    // The pane (and the bar, when given) must outlive the sink, or be detached (nullptr) first.
    void Attach(QTextEdit* pane, QProgressBar* bar = nullptr) {
        pane_ = pane;
        bar_ = bar;
    }
    void AppendLine(const StyledLine& line) override;
    // The bar shows while a step reports how far it is, with its percentage, speed and time left.
    void ShowProgress(const ProgressState& state) override;
    void EndProgress() override;

  private:
    QTextEdit* pane_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

}  // namespace calvorin
