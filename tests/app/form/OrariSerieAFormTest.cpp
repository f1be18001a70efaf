// SPDX-License-Identifier: GPL-3.0-or-later
// The update-settings dialog model: value copying on OK and Annulla, the URL check and its label.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/form/OrariSerieAForm.h"
#include "starttimes/ServiceFixture.h"

namespace calvorin {
namespace {

using Color = ColoredLabel::Color;

class OrariSerieAFormTest : public test::ServiceFixture {
  protected:
    static void SetUpTestSuite() {
        ServiceFixture::SetUpTestSuite();
        Scenario("senza-aggiornamento", R"({"orari": {"1a": "2023-08-19 18.30"}})");
    }

    // Opens the dialog over the table; `whileShown` plays the user; returns what the dialog returned.
    void Open(StartTimeTable& table, const std::function<bool(OrariSerieAForm&)>& whileShown) {
        form.Execute(table, 2025, [&](OrariSerieAForm& shown) {
            EXPECT_EQ(&shown, &form);
            EXPECT_FALSE(form.RisultatoVerificaLabel.Visible());
            return whileShown(shown);
        });
    }

    std::unique_ptr<HttpTransport> transport = Transport();
    OrariSerieAForm form{*transport};
    std::vector<bool> busy;
};

TEST_F(OrariSerieAFormTest, ShowsItsTextsWithTheResultHidden) {
    EXPECT_EQ(form.Caption, "Impostazioni aggiornamento inizio partite di Serie A");
    EXPECT_EQ(form.UrlServizioLabel.Text(), "URL servizio di aggiornamento");
    EXPECT_EQ(form.UrlServizioEdit.Hint(),
              "URL del servizio di aggiornamento automatico degli orari d'inizio delle partite di Serie A");
    EXPECT_TRUE(form.UrlServizioEdit.HasButton());
    EXPECT_EQ(form.AggiornaAvvioCheckBox.Text(), "Aggiorna automaticamente all'avvio del plug-in");
    EXPECT_EQ(form.AggiornaAvvioCheckBox.Hint(), "Aggiorna automaticamente gli orari all'avvio del plug-in");
    EXPECT_EQ(form.OkButton.Text(), "OK");
    EXPECT_EQ(form.CancelButton.Text(), "Annulla");
    EXPECT_FALSE(form.RisultatoVerificaLabel.Visible());
}

TEST_F(OrariSerieAFormTest, OkCopiesTheValuesAsTypedAndAnnullaKeepsThem) {
    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Annulla");
        StartTimeTable table;
        table.UrlServizio = "http://www.example.org/Calvorin_v2/services.php";
        table.AggiornaAvvio = false;
        Open(table, [&](OrariSerieAForm& dialog) {
            EXPECT_EQ(dialog.UrlServizioEdit.Text(), "http://www.example.org/Calvorin_v2/services.php");
            EXPECT_FALSE(dialog.AggiornaAvvioCheckBox.Checked());
            dialog.SetUrlText(" " + Url("/services.php") + " ");
            dialog.AggiornaAvvioCheckBox.SetChecked(true);
            dialog.UrlServizioEdit.onButtonClick();
            return ok;
        });
        EXPECT_EQ(table.UrlServizio,
                  ok ? " " + Url("/services.php") + " " : "http://www.example.org/Calvorin_v2/services.php");
        EXPECT_EQ(table.AggiornaAvvio, ok);
    }
}

TEST_F(OrariSerieAFormTest, AVerifiedUrlShowsTheServicesUpdateTime) {
    form.busy = [&](bool on) { busy.push_back(on); };
    StartTimeTable table;
    table.UrlServizio = Url("/Calvorin_v2/services.php");
    const StartTimeTable before = table;
    Open(table, [&](OrariSerieAForm& dialog) {
        dialog.UrlServizioEdit.onButtonClick();
        EXPECT_TRUE(dialog.RisultatoVerificaLabel.Visible());
        EXPECT_EQ(dialog.RisultatoVerificaLabel.Text(),
                  "URL verificato: ultimo aggiornamento 20/10/2025 09:15");
        EXPECT_EQ(dialog.RisultatoVerificaLabel.FontColor(), Color::Highlight);
        dialog.SetUrlText(dialog.UrlServizioEdit.Text() + "x");  // the first keystroke hides it
        EXPECT_FALSE(dialog.RisultatoVerificaLabel.Visible());
        dialog.UrlServizioEdit.onButtonClick();
        return false;
    });
    EXPECT_EQ(busy, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(table.OrariSerieA, before.OrariSerieA);     // a check never touches the table
    Open(table, [](OrariSerieAForm&) { return false; });  // reopened: result hidden again
}

TEST_F(OrariSerieAFormTest, AFailedCheckShowsTheErrorInRed) {
    struct Case {
        std::string url;
        int seasonYear;
        const char* caption;  // the whole caption, or its start when it ends with ": "
    } cases[] = {
        {Url("/errore404/services.php"), 2025, "Errore: Not Found"},
        {Url("/services.php"), 1999, "Errore: Not Found"},  // the season goes into the request
        {Url("/nonjson/services.php"), 2025, "Errore: Risposta non valida"},
        {Url("/scenario/senza-aggiornamento/services.php"), 2025, "Errore: Risposta non valida"},
        {Url("/array/services.php"), 2025, "Errore: Risposta non valida"},
        {"", 2025, "Errore: "},
        {"http//manca-i-due-punti", 2025, "Errore: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        form.busy = [&](bool on) { busy.push_back(on); };
        busy.clear();
        StartTimeTable table;
        form.Execute(table, c.seasonYear, [&](OrariSerieAForm& dialog) {
            dialog.SetUrlText(c.url);
            dialog.UrlServizioEdit.onButtonClick();
            return false;
        });
        std::string caption = form.RisultatoVerificaLabel.Text();
        if (std::string_view(c.caption).ends_with(": ")) {
            EXPECT_THAT(caption, ::testing::StartsWith(c.caption));
            EXPECT_GT(caption.size(), std::string_view(c.caption).size());  // the HTTP client's text follows
        } else {
            EXPECT_EQ(caption, c.caption);
        }
        EXPECT_TRUE(form.RisultatoVerificaLabel.Visible());
        EXPECT_EQ(form.RisultatoVerificaLabel.FontColor(), Color::Red);
        EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    }
}

TEST_F(OrariSerieAFormTest, ChangesReachTheView) {
    int notified = 0;
    form.RisultatoVerificaLabel.viewChanged = [&] { ++notified; };
    form.SetUrlText(Url("/Calvorin_v2/services.php"));
    form.UrlServizioEdit.onButtonClick();
    EXPECT_GT(notified, 0);
}

}  // namespace
}  // namespace calvorin
