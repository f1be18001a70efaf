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

// Shows the busy cursor for its lifetime and marks the window as running.
class RunGuard {
  public:
    RunGuard(Desktop& desktop, bool& running) : desktop_(desktop), running_(running) {
        running_ = true;
        desktop_.SetBusy(true);
    }
    ~RunGuard() {
        desktop_.SetBusy(false);
        running_ = false;
    }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

  private:
    Desktop& desktop_;
    bool& running_;
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
    std::optional<std::string> saveError;
    {
        RunGuard guard(desktop(), running_);
        if (!RunProcedure()) {
            log().WriteLog("\n%s", CancelledText);
            lastOutcome_ = RunOutcome::Cancelled;
            return;
        }
        log().WriteLog("\n<green><b>Procedura terminata con successo</b></color>");
        try {
            SaveSettings();
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

bool TMainForm::RunProcedure() {
    if (InvioFormazione.InvioFormazioneCheckBox.Checked()) {
        log().WriteHeading("Generazione dati invio formazione");
        if (!GeneraDatiInvioFormazione(LineupOptionsFromForm(*this), Context, log())) return false;
    }
    if (DateOrari.EsportaDateOrariCheckBox.Checked() &&
        !KoOnFailure(log(), [this] { EsportaOrariSerieA(Orari.OrariSerieA, Context.SiteFolder, log()); }))
        return false;
    if (Backup.BackupCheckBox.Checked() || Backup.EsportazioneCheckBox.Checked()) {
        log().WriteHeading("Generazione dati backup ed esportazione");
        if (!BuildArchives(ArchiveOptionsFromForm(*this), Context, log())) return false;
    }
    if (!(Context.Extended && Generale.gnDisabilitaJsVariabiliCheckBox.Checked())) {
        log().WriteHeading("Generazione file <i>fcmVariabiliCalvorin.js</i>");
        bool lineup = InvioFormazione.InvioFormazioneCheckBox.Checked();
        if (!KoOnFailure(log(), [&] { WriteVariablesFile(Context.Version, lineup, Context.SiteFolder); }))
            return false;
    }
    return true;
}

}  // namespace calvorin
