// SPDX-License-Identifier: GPL-3.0-or-later
// The start-time page: grid edits, the update from the service and its settings dialog.
#include "app/form/MainForm.h"
#include "app/form/OrariSerieAForm.h"
#include "starttimes/ParseDateTime.h"
#include "starttimes/StartTimeUpdate.h"

namespace calvorin {

std::string TMainForm::DoOrariEditorGetEditMask(int, int) const {
    return EditMask();
}

std::string TMainForm::DoOrariEditorValidate(int, int row, const std::string&, const std::string& value) {
    if (row < 1 || row > kMatchdays) return {};
    LocalDateTime unused;
    bool valid = ParseDateTime(value, DateTimeForm::Display, unused);
    DateOrari.DoOrariEditor.SetValueAt(row, CommitEditedStartTime(Orari, row, value, services_.clock));
    if (valid) return {};
    std::string format = ". Formato: gg/mm/aaaa hh:mm";
    return value.empty() ? "Data e ora mancanti" + format : "Data e ora non valide: " + value + format;
}

void TMainForm::ShowGridRow(int row) {
    DateOrari.DoOrariEditor.SetValueAt(row, Orari.OrariSerieA[row - 1].DisplayForm());
}

void TMainForm::DoAggiornaButtonClick(bool byUser) {
    AggiornaOrari(Orari, byUser, Context.SeasonYear, services_.http, log(),
                  [this](int row) { ShowGridRow(row); });
}

void TMainForm::DoImpostazioniButtonClick() {
    OrariSerieADialog->busy = [this](bool on) { desktop().SetBusy(on); };
    OrariSerieADialog->Execute(Orari, Context.SeasonYear,
                               [this](OrariSerieAForm& dialog) { return desktop().ShowModal(dialog); });
}

}  // namespace calvorin
