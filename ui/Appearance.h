// SPDX-License-Identifier: GPL-3.0-or-later
// The look shared by the window and its dialog: fonts and the password character.
#pragma once

#include <QFont>

class QApplication;

namespace calvorin {

// Sets the application-wide font ("Segoe UI" 9 pt or the nearest sans font present) and a style that
// shows password characters as "●" (U+25CF). Call once after the QApplication exists.
void ApplyAppearance(QApplication& app);

// The log pane's font: "Consolas" 9 pt, or the system's fixed-pitch font at 9 pt where it is missing.
QFont LogFont();

}  // namespace calvorin
