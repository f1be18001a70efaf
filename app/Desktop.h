// SPDX-License-Identifier: GPL-3.0-or-later
// What the window needs from the desktop: message boxes, busy cursor, pickers, pending events, closing.
#pragma once

#include <optional>
#include <string>

namespace calvorin {

class OrariSerieAForm;

// Implemented by the Qt window, by the terminal in /batch mode, and by a recording fake in tests.
class Desktop {
  public:
    virtual ~Desktop() = default;

    // Shows the text in a modal message box (caption "Calvorin", error icon, one OK button) and returns
    // when the user closes it. The text is shown as it is, never used as a format.
    virtual void ShowError(const std::string& message) = 0;

    // Shows or removes the busy cursor for the whole application.
    virtual void SetBusy(bool busy) = 0;

    // While a run lasts: the settings and "OK" greyed and the busy cursor, while the log still scrolls and
    // "Annulla" still answers; all as before once it ends.
    virtual void ShowRunning(bool running) = 0;

    // Asks a yes/no question in a modal box (caption "Calvorin"); true when the user answers yes.
    virtual bool Confirm(const std::string& question) = 0;

    // Lets the desktop repaint and deliver waiting input; called after every log line.
    virtual void ProcessPendingEvents() = 0;

    // Folder browser: the chosen folder, or nothing when the user cancels.
    virtual std::optional<std::string> BrowseFolder(const std::string& title, const std::string& start) = 0;

    // File-open dialog for one existing file: the chosen path, or nothing when the user cancels.
    // `filter` is "description|pattern"; `folder` and `file` preselect where it opens.
    virtual std::optional<std::string> OpenFile(const std::string& filter,
                                                const std::string& defaultExtension,
                                                const std::string& folder, const std::string& file) = 0;

    // Shows the update-settings dialog modally; true when it was closed with OK.
    virtual bool ShowModal(OrariSerieAForm& dialog) = 0;

    // Closes the main window, which ends the program.
    virtual void CloseMainWindow() = 0;
};

}  // namespace calvorin
