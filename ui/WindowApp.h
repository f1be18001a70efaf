// SPDX-License-Identifier: GPL-3.0-or-later
// Window mode: the Qt application running the main window on the form model.
#pragma once

#include <string>
#include <vector>

namespace calvorin {

// Returned when the settings cannot be loaded, as /batch does.
inline constexpr int kWindowNotLoaded = 3;

// Runs the program with its window until the window closes. Returns 1 when the arguments are invalid
// (after the message "Argomenti non validi"; the window is never shown), kWindowNotLoaded when FCM's or
// the league's settings cannot be read (after a message box with the error; the window is never shown),
// else 0. When the environment variable CALVORIN_SCREENSHOT names a PNG file, the window saves a picture
// of itself there once shown and painted, then quits (1 if the picture cannot be written). No exception
// leaves the event loop: one that a handler lets through is shown in a message box.
int RunWindow(int argc, char** argv, const std::vector<std::string>& arguments);

}  // namespace calvorin
