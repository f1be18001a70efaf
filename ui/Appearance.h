// SPDX-License-Identifier: GPL-3.0-or-later
// The look shared by the window and its dialog: fonts, the password character and the icon.
#pragma once

#include <QFont>
#include <QIcon>

class QApplication;

namespace calvorin {

// Sets the application-wide font ("Segoe UI" 9 pt or the nearest sans font present), a style that
// shows password characters as "●" (U+25CF) and Calvorin's icon, which every window then shows in its
// title bar and task bar entry. Call once after the QApplication exists.
void ApplyAppearance(QApplication& app);

// Calvorin's icon, built into the program.
QIcon AppIcon();

// The log pane's font: "Consolas" 9 pt, or the system's fixed-pitch font at 9 pt where it is missing.
QFont LogFont();

}  // namespace calvorin
