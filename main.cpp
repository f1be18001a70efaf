// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point: the window, or /batch mode; without a display only /batch runs.
#include <cstdio>
#include <string>
#include <vector>

#include "app/batch/BatchMode.h"
#include "app/startup/Usage.h"
#include "platform/os/Process.h"

#ifdef CALVORIN_GUI
#include "ui/WindowApp.h"
#endif

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = calvorin::ProgramArguments(argc, argv);
    const calvorin::InformationRequest request = calvorin::RequestedInformation(arguments);
    const bool batch = calvorin::WantsBatch(arguments);
#ifdef CALVORIN_GUI
    const bool window = !batch && calvorin::HasDisplay();
#else
    const bool window = false;
#endif
    if (!window || request != calvorin::InformationRequest::None) calvorin::UseParentConsole();
    // Answered before anything else, so that asking never opens a window or waits on a message box.
    switch (request) {
        case calvorin::InformationRequest::Help:
            std::fputs(calvorin::UsageText().c_str(), stdout);
            return 0;
        case calvorin::InformationRequest::Version:
            std::fputs(calvorin::VersionLine().c_str(), stdout);
            return 0;
        case calvorin::InformationRequest::None:
            break;
    }
    if (batch) return calvorin::RunBatch(arguments);
#ifdef CALVORIN_GUI
    if (window) return calvorin::RunWindow(argc, argv, arguments);
#endif
        // Without a window nothing can be looked at or changed: running the whole job instead would publish
        // the site for someone who only wanted to see the options.
#ifdef CALVORIN_GUI
    std::fputs("Nessun display disponibile: la finestra di Calvorin non si può aprire.\n", stderr);
#else
    std::fputs("Questa versione di Calvorin non ha la finestra.\n", stderr);
#endif
    std::fputs(
        "Per eseguire la procedura senza finestra aggiungere /batch agli argomenti (vedere --help); per "
        "cambiare le impostazioni avviare Calvorin dove c'è un display.\n",
        stderr);
    return calvorin::kBatchInvalid;
}
