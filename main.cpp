// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: the window, or /batch mode without a display.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/batch/BatchMode.h"
#include "app/startup/Usage.h"
#include "platform/fs/FaultInjection.h"

#ifdef CALVORIN_GUI
#include "ui/WindowApp.h"
#endif

namespace {

[[maybe_unused]] bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    calvorin::InstallFaultsFromEnvironment();  // for tests that fail or crash the program at a chosen write
    std::vector<std::string> arguments(argv + 1, argv + argc);
    // Answered before anything else, so that asking never opens a window or waits on a message box.
    switch (calvorin::RequestedInformation(arguments)) {
        case calvorin::InformationRequest::Help:
            std::fputs(calvorin::UsageText().c_str(), stdout);
            return 0;
        case calvorin::InformationRequest::Version:
            std::fputs(calvorin::VersionLine().c_str(), stdout);
            return 0;
        case calvorin::InformationRequest::None:
            break;
    }
    if (calvorin::WantsBatch(arguments)) return calvorin::RunBatch(arguments);
#ifdef CALVORIN_GUI
    if (HasDisplay()) return calvorin::RunWindow(argc, argv, arguments);
#endif
    std::fputs("Nessun display disponibile: Calvorin procede senza finestra, come con /batch.\n", stderr);
    return calvorin::RunBatch(arguments);
}
