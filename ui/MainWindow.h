// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: page tree, card area, log pane and the "OK"/"Annulla" row, bound to TMainForm.
#pragma once

#include <QDialog>
#include <QProgressBar>

class QCloseEvent;
class QPushButton;
class QScrollArea;
class QStackedWidget;

namespace calvorin {

class LogPane;
class PageTreeView;
class TMainForm;

// A dialog-style window, for its default (Enter) and cancel (Escape) buttons. Built in two steps: the
// log pane exists first (the form writes to it from the start), the rest once the form is created.
class MainWindow : public QDialog {
  public:
    MainWindow();
    ~MainWindow() override;

    LogPane& Log() { return *log_; }
    // Below the log, hidden until a step reports how far it is.
    QProgressBar& Progress() { return *progress_; }

    // Builds the tree, the page on show and the buttons on `form`, which must outlive the window. Each
    // other page is built when the tree first shows it: the window opens sooner, and a page the user
    // never opens costs nothing.
    void Build(TMainForm& form);
    void BuildAllPages();
    bool AllPagesBuilt() const;

    // After the form's FormShow: takes its caption, fits the window to the screen's free part, centres
    // it there and shows it.
    void ShowForm();
    // Gives the window its design size, or less height when it must fit, frame included, in `available`:
    // the log gives up height first, down to a few lines, then the settings, which scroll; the buttons
    // stay in view. Settings that need more than their design size at a larger font get it, and the
    // window grows with them, as far as `available` allows.
    void FitToScreen(QSize available);

    // Greys the tree, the pages and "OK" while a run lasts; the log and "Annulla" stay live.
    void ShowRunning(bool running);

    PageTreeView* Tree() const { return tree_; }
    QStackedWidget* Cards() const { return cards_; }
    // Holds the tree and the cards, in a scroll area of its own.
    QWidget* SettingsArea() const { return settingsArea_; }

  protected:
    // The close box during a run asks whether to stop it; the window stays open either way.
    void closeEvent(QCloseEvent* event) override;
    // Escape works as "Annulla".
    void reject() override;

  private:
    QWidget* BuildSettingsArea(TMainForm& form);
    // What the window system adds around the window, caption included.
    QSize FrameSize() const;
    QLayout* BuildButtonRow(TMainForm& form);
    void KeepButtonsLastInTabOrder();

    TMainForm* form_ = nullptr;
    LogPane* log_;
    QProgressBar* progress_;
    QWidget* settingsArea_ = nullptr;
    QScrollArea* settingsScroll_ = nullptr;
    PageTreeView* tree_ = nullptr;
    QStackedWidget* cards_ = nullptr;
    QLayout* buttonRow_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace calvorin
