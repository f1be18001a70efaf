// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/OrariSerieAForm.h"

#include <stdexcept>

#include "plugin/log/Markup.h"
#include "starttimes/ServiceClient.h"

namespace calvorin {
namespace {

// The busy cursor for the life of one verification, removed on every path.
class BusyCursor {
  public:
    explicit BusyCursor(const std::function<void(bool)>& busy) : busy_(busy) {
        if (busy_) busy_(true);
    }
    ~BusyCursor() {
        if (busy_) busy_(false);
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    const std::function<void(bool)>& busy_;
};

}  // namespace

OrariSerieAForm::OrariSerieAForm(HttpTransport& http) : http_(http) {
    UrlServizioLabel.SetText("URL servizio di aggiornamento");
    UrlServizioEdit.SetHint(
        "URL del servizio di aggiornamento automatico degli orari d'inizio delle partite di Serie A");
    UrlServizioEdit.SetHasButton(true);
    UrlServizioEdit.onButtonClick = [this] { UrlServizioEditRightButtonClick(); };
    RisultatoVerificaLabel.SetText("URL verificato: ultimo aggiornamento 01/01/2020");
    RisultatoVerificaLabel.SetVisible(false);
    AggiornaAvvioCheckBox.SetText("Aggiorna automaticamente all'avvio del plug-in");
    AggiornaAvvioCheckBox.SetHint("Aggiorna automaticamente gli orari all'avvio del plug-in");
    OkButton.SetText("OK");
    CancelButton.SetText("Annulla");
}

void OrariSerieAForm::Execute(StartTimeTable& table, int seasonYear,
                              const std::function<bool(OrariSerieAForm&)>& showModal) {
    seasonYear_ = seasonYear;
    UrlServizioEdit.SetText(table.UrlServizio);
    AggiornaAvvioCheckBox.SetChecked(table.AggiornaAvvio);
    FormShow();
    if (!showModal(*this)) return;
    table.UrlServizio = UrlServizioEdit.Text();
    table.AggiornaAvvio = AggiornaAvvioCheckBox.Checked();
}

void OrariSerieAForm::FormShow() {
    RisultatoVerificaLabel.SetVisible(false);
}

void OrariSerieAForm::UrlServizioEditChange() {
    RisultatoVerificaLabel.SetVisible(false);
}

void OrariSerieAForm::SetUrlText(std::string text) {
    UrlServizioEdit.SetText(std::move(text));
    UrlServizioEditChange();
}

void OrariSerieAForm::UrlServizioEditRightButtonClick() {
    BusyCursor cursor(busy);
    RisultatoVerificaLabel.SetVisible(false);
    try {
        auto time = ServiceUpdateTime(GetOrariServizio(http_, UrlServizioEdit.Text(), seasonYear_));
        if (!time) throw std::runtime_error("Risposta non valida");
        ShowResult(ColoredLabel::Color::Highlight,
                   "URL verificato: ultimo aggiornamento " + time->DisplayForm());
    } catch (const std::exception& e) {
        ShowResult(ColoredLabel::Color::Red, "Errore: " + FlattenMessage(e.what()));
    }
}

void OrariSerieAForm::ShowResult(ColoredLabel::Color color, std::string caption) {
    RisultatoVerificaLabel.SetFontColor(color);
    RisultatoVerificaLabel.SetText(std::move(caption));
    RisultatoVerificaLabel.SetVisible(true);
}

}  // namespace calvorin
