// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop services of the window, with Qt: message box, busy cursor, pickers, dialog, closing.
#pragma once

#include <QString>
#include <string>

#include "app/Desktop.h"

namespace calvorin {

class MainWindow;

// Returns a file-dialog filter in Qt's form ("desc (*.a *.b);;...") for one in the form's form
// ("desc|*.a;*.b|..."). A description that already ends with its patterns in brackets is kept as it is.
QString QtFileFilter(const std::string& filter);

class QtDesktop : public Desktop {
  public:
    // The window that message boxes and pickers belong to; none before it exists.
    void SetWindow(MainWindow* window) { window_ = window; }

    void ShowError(const std::string& message) override;
    void SetBusy(bool busy) override;
    void ShowRunning(bool running) override;
    bool Confirm(const std::string& question) override;
    void ProcessPendingEvents() override;
    std::optional<std::string> BrowseFolder(const std::string& title, const std::string& start) override;
    std::optional<std::string> OpenFile(const std::string& filter, const std::string& defaultExtension,
                                        const std::string& folder, const std::string& file) override;
    bool ShowModal(OrariSerieAForm& dialog) override;
    void CloseMainWindow() override;

  private:
    MainWindow* window_ = nullptr;
};

}  // namespace calvorin
