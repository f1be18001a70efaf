// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: page tree, card area, log pane and the "OK"/"Annulla" row, bound to TMainForm.
#pragma once

#include <QDialog>
#include <QProgressBar>

class QCloseEvent;
class QPushButton;
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

    // After the form's FormShow: takes its caption, centres the window on the screen and shows it.
    void ShowForm();

    // Greys the tree, the pages and "OK" while a run lasts; the log and "Annulla" stay live.
    void ShowRunning(bool running);

    PageTreeView* Tree() const { return tree_; }
    QStackedWidget* Cards() const { return cards_; }

  protected:
    // The close box during a run asks whether to stop it; the window stays open either way.
    void closeEvent(QCloseEvent* event) override;
    // Escape works as "Annulla".
    void reject() override;

  private:
    QWidget* BuildSettingsArea(TMainForm& form);
    QLayout* BuildButtonRow(TMainForm& form);
    void KeepButtonsLastInTabOrder();

    TMainForm* form_ = nullptr;
    LogPane* log_;
    QProgressBar* progress_;
    QWidget* settingsArea_ = nullptr;
    PageTreeView* tree_ = nullptr;
    QStackedWidget* cards_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace calvorin
