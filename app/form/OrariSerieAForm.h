// SPDX-License-Identifier: GPL-3.0-or-later
// The update-settings dialog as a toolkit-neutral model: the service URL, its check, the start-up switch.
#pragma once

#include <functional>
#include <string>

#include "platform/http/HttpTransport.h"
#include "plugin/Controls.h"
#include "starttimes/StartTimeTable.h"

namespace calvorin {

// A label whose text colour the program sets.
class ColoredLabel : public Control {
  public:
    enum class Color { WindowText, Highlight, Red };  // Highlight: the desktop's selection colour
    using Control::Control;
    Color FontColor() const { return color_; }
    void SetFontColor(Color color) { Set(color_, color); }

  private:
    Color color_ = Color::WindowText;
};

// One instance lives as long as the main window. A view mirrors the controls through their viewChanged
// hooks; it calls SetUrlText for every change the user makes in the URL box and the edit's
// onButtonClick for its right-hand button. OK is the default button, Annulla the cancel button.
class OrariSerieAForm {
  public:
    explicit OrariSerieAForm(HttpTransport& http);
    OrariSerieAForm(const OrariSerieAForm&) = delete;
    OrariSerieAForm& operator=(const OrariSerieAForm&) = delete;

    // Runs the dialog for the main window (its DoImpostazioniButtonClick): puts the table's URL and
    // start-up switch into the controls, shows the dialog through `showModal` (true = closed with OK) and,
    // on OK only, copies them back (the URL as typed). `seasonYear` goes into verification requests.
    void Execute(StartTimeTable& table, int seasonYear,
                 const std::function<bool(OrariSerieAForm&)>& showModal);

    // Handlers with the window's names.
    void FormShow();
    void UrlServizioEditChange();
    // Asks the service at the URL in the box for its update time and shows the outcome in the label.
    // Never throws; the table is not touched.
    void UrlServizioEditRightButtonClick();

    // A change of the URL text by the user: sets it and runs UrlServizioEditChange.
    void SetUrlText(std::string text);

    const std::string Caption = "Impostazioni aggiornamento inizio partite di Serie A";
    Label UrlServizioLabel{"UrlServizioLabel"};
    Edit UrlServizioEdit{"UrlServizioEdit"};
    ColoredLabel RisultatoVerificaLabel{"RisultatoVerificaLabel"};
    CheckBox AggiornaAvvioCheckBox{"AggiornaAvvioCheckBox"};
    Button OkButton{"OkButton"};
    Button CancelButton{"CancelButton"};

    // Shows (true) or removes (false) the busy cursor around a verification.
    std::function<void(bool)> busy;

  private:
    void ShowResult(ColoredLabel::Color color, std::string caption);

    HttpTransport& http_;
    int seasonYear_ = 0;
};

}  // namespace calvorin
