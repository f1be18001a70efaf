// SPDX-License-Identifier: GPL-3.0-or-later
// "OK": check the options, run every enabled feature in order, save the settings and close.
#include <optional>
#include <string>

#include "app/form/MainForm.h"
#include "app/run/FeatureOptions.h"
#include "app/run/Validation.h"
#include "app/run/VariablesFile.h"
#include "archives/ArchiveBuilder.h"
#include "lineup/GeneraDatiInvioFormazione.h"
#include "starttimes/SerieAExport.h"

namespace calvorin {
namespace {

// Marks the window as running for its lifetime: settings greyed, busy cursor. A stop asked too late for
// this run does not carry over to the next.
class RunGuard {
  public:
    RunGuard(Desktop& desktop, bool& running, StopRequest& stop)
        : desktop_(desktop), running_(running), stop_(stop) {
        running_ = true;
        desktop_.ShowRunning(true);
    }
    ~RunGuard() {
        desktop_.ShowRunning(false);
        running_ = false;
        stop_.Clear();
    }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

  private:
    Desktop& desktop_;
    bool& running_;
    StopRequest& stop_;
};

// Runs a step that writes no OK line of its own; its failure, an exception, becomes its KO line.
template <typename Step>
bool KoOnFailure(Log& log, Step step) {
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        log.WriteKo(2, e.what());
        return false;
    }
}

}  // namespace

void TMainForm::OkButtonClick() {
    if (running_ || !OkButton.Enabled()) return;
    TidyOptions(*this);
    if (auto message = FirstValidationFailure(*this)) {
        lastOutcome_ = RunOutcome::Invalid;
        desktop().ShowError(*message);
        return;
    }
    const RunPlan plan = RunPlanFromForm(*this);
    std::optional<std::string> saveError;
    {
        RunGuard guard(desktop(), running_, stop_);
        if (!RunProcedure(plan)) {
            log().WriteLog("\n%s", CancelledText);
            lastOutcome_ = RunOutcome::Cancelled;
            return;
        }
        log().WriteLog("\n<green><b>Procedura terminata con successo</b></color>");
        try {
            SaveSettings(plan.settings);
        } catch (const std::exception& e) {
            saveError = e.what();
            log().WriteKo(2, *saveError);
        }
    }
    // The box waits for the user: it comes after the busy cursor is gone, not under it.
    if (saveError) {
        lastOutcome_ = RunOutcome::SaveFailed;
        desktop().ShowError(*saveError);
        return;
    }
    lastOutcome_ = RunOutcome::Succeeded;
    desktop().CloseMainWindow();
}

// Each step is a safe point to stop at before it starts; inside, the steps have their own.
bool TMainForm::RunProcedure(const RunPlan& plan) {
    const auto stopped = [this] {
        if (!stop_.Requested()) return false;
        log().WriteKo(2, RunStopped(stop_.Cause()).what());
        return true;
    };
    if (plan.lineup) {
        if (stopped()) return false;
        log().WriteHeading("Generazione dati invio formazione");
        if (!GeneraDatiInvioFormazione(*plan.lineup, Context, log())) return false;
    }
    if (plan.startTimes) {
        if (stopped() ||
            !KoOnFailure(log(), [&] { EsportaOrariSerieA(*plan.startTimes, Context.SiteFolder, log()); }))
            return false;
    }
    if (plan.archives) {
        if (stopped()) return false;
        log().WriteHeading("Generazione dati backup ed esportazione");
        if (!BuildArchives(*plan.archives, Context, log())) return false;
    }
    if (plan.variablesFile) {
        if (stopped()) return false;
        log().WriteHeading("Generazione file <i>fcmVariabiliCalvorin.js</i>");
        const bool lineup = plan.lineup.has_value();
        if (!KoOnFailure(log(), [&] {
                if (auto warning = WriteVariablesFile(Context.Version, lineup, Context.SiteFolder))
                    log().WriteWarning(2, *warning);
            }))
            return false;
    }
    return true;
}

}  // namespace calvorin
