// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/batch/BatchMode.h"

#include <cstdio>
#include <memory>

#include "app/batch/TerminalSink.h"
#include "app/form/MainForm.h"
#include "platform/http/HttpGet.h"
#include "platform/os/Process.h"
#include "platform/text/Trim.h"
#include "platform/text/VisibleControls.h"
#include "starttimes/ServiceClient.h"

namespace calvorin {
namespace {

// The desktop of a terminal: messages on standard error, no pickers, no dialogs.
class BatchDesktop : public Desktop {
  public:
    // Messages may carry paths and names from outside: shown, never obeyed by the terminal.
    void ShowError(const std::string& message) override {
        std::fprintf(stderr, "%s\n", VisibleControls(message, true).c_str());
    }
    void SetBusy(bool) override {}
    void ShowRunning(bool) override {}
    bool Confirm(const std::string&) override { return false; }
    void ProcessPendingEvents() override {}
    std::optional<std::string> BrowseFolder(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFile(const std::string&, const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    bool ShowModal(OrariSerieAForm&) override { return false; }
    void CloseMainWindow() override {}
};

int StatusOf(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Succeeded:
            return kBatchSucceeded;
        case RunOutcome::Cancelled:
            return kBatchCancelled;
        case RunOutcome::SaveFailed:
            return kBatchSaveFailed;
        case RunOutcome::Invalid:
        case RunOutcome::None:
            break;
    }
    return kBatchInvalid;
}

}  // namespace

bool WantsBatch(const std::vector<std::string>& arguments) {
    for (const auto& a : arguments)
        if (EqualsIgnoreAsciiCase(TrimView(a), "/batch")) return true;
    return false;
}

int RunBatch(const std::vector<std::string>& arguments) {
    TerminalSink sink(stdout, TerminalSink::AbilitiesOf(stdout));
    Log log(sink);
    BatchDesktop desktop;
    std::unique_ptr<HttpTransport> http = MakeHttpTransport(ServiceHttpOptions());
    TMainForm form({desktop, log, *http});
    const std::optional<std::string> extended = EnvironmentVariable("Calvorin_extended");
    if (!form.FormCreate(arguments, extended ? extended->c_str() : nullptr)) return kBatchInvalid;
    try {
        form.FormShow();
    } catch (const std::exception& e) {
        desktop.ShowError(e.what());
        return kBatchSaveFailed;
    }
    // Without a window nobody sees the defaults that stand in for unusable settings before they publish.
    if (form.SettingsProblem()) {
        desktop.ShowError(
            "Impostazioni di Calvorin non utilizzabili (" + *form.SettingsProblem() +
            "): la procedura non parte. Aprire Calvorin con la finestra per controllarle e salvarle.");
        return kBatchSaveFailed;
    }
    if (!form.OkButton.Enabled()) {
        desktop.ShowError("Nessuna funzione abilitata nelle impostazioni: non c'è nulla da generare.");
        return kBatchInvalid;
    }
    // Ctrl+C and the system's request to end stop the run as Annulla does in the window.
    StopOnInterruption(form.Stop());
    form.OkButtonClick();
    // The log may go to a file nobody reads; standard error is what cron mails.
    if (form.LastRunOutcome() == RunOutcome::Cancelled) {
        desktop.ShowError(log.LastKo().empty() ? std::string("Operazione annullata")
                                               : "Operazione annullata: " + log.LastKo());
    }
    return StatusOf(form.LastRunOutcome());
}

}  // namespace calvorin
