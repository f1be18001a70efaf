// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/form/MaskedInput.h"
#include "app/form/OrariSerieAForm.h"
#include "platform/http/HttpGet.h"
#include "platform/http/OrariServer.h"
#include "starttimes/ServiceClient.h"
#include "support/FormFixture.h"

namespace calvorin {

using test::FormFixture;

namespace {

struct ServicePage {
    ServicePage() : f("Lega-1-2025", nullptr, transport.get()) {}
    test::OrariServer server{{"--data-dir", CALVORIN_SOURCE_DIR "/tools/orari-server"}};
    std::unique_ptr<HttpTransport> transport = MakeHttpTransport(ServiceHttpOptions());
    FormFixture f;
};

}  // namespace

TEST(StartTimePage, UpdateButtonFillsTheGridFromTheService) {
    ServicePage page;
    auto& form = page.f.form;
    form.FormShow();
    form.Orari.UrlServizio = page.server.Url("/servizio.php");
    form.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);
    form.DateOrari.DoAggiornaButton.Click();
    EXPECT_EQ(page.f.sink.LastLine(), "  OK: aggiornati 38 orari");
    EXPECT_EQ(form.DateOrari.DoOrariEditor.ValueAt(1), "23/08/2025 18:30");
    EXPECT_EQ(form.DateOrari.DoOrariEditor.ValueAt(38), "24/05/2026 20:45");
    EXPECT_EQ(form.Orari.UltimaModificaManuale.LogForm(), "20/10/2025 09:15:42");
}

TEST(StartTimePage, ABrokenServiceAtStartUpNeverStopsTheWindowFromOpening) {
    ServicePage page;
    test::WriteBytes(page.f.SettingsFile(),
                     "[Date e orari Serie A]\r\nAggiorna orari all'avvio=1\r\n"
                     "URL aggiornamento orari=" +
                         page.server.Url("/errore404/servizio.php") + "\r\n");
    page.f.form.FormShow();
    EXPECT_NE(page.f.sink.Text().find("  KO: Not Found\n"), std::string::npos) << page.f.sink.Text();
    EXPECT_EQ(page.f.form.TreeView.ActiveCard(), "InvioFormazioneCard") << "showing went on to the end";
    EXPECT_EQ(page.f.form.DateOrari.DoOrariEditor.ValueAt(1), "24/08/2019 18:00");
}

TEST(StartTimePage, GridEditsAreNormalisedOrRefusedWithTheReasonAndStampTheManualEdit) {
    FormFixture f;
    f.form.FormShow();
    const std::string format = ". Formato: gg/mm/aaaa hh:mm";
    struct Case {
        const char* typed;
        const char* shown;
        std::string refusal;
    } cases[] = {{"1/9/2019 9:5", "01/09/2019 09:05", ""},
                 {"31/04/2020 10:00", "01/09/2019 09:05", "Data e ora non valide: 31/04/2020 10:00" + format},
                 {"29/02/2020 15:00", "29/02/2020 15:00", ""},
                 {"24/08/2019 24:00", "29/02/2020 15:00", "Data e ora non valide: 24/08/2019 24:00" + format},
                 {"", "29/02/2020 15:00", "Data e ora mancanti" + format}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        f.form.Orari.UltimaModificaManuale = {};
        EXPECT_EQ(f.form.DoOrariEditorValidate(1, 3, "3a", c.typed), c.refusal);
        EXPECT_EQ(f.form.DateOrari.DoOrariEditor.ValueAt(3), c.shown);
        EXPECT_EQ(f.form.Orari.UltimaModificaManuale, f.now) << "stamped even when discarded";
    }
    EXPECT_EQ(f.form.DoOrariEditorGetEditMask(1, 3), "90\\/90\\/0000 90\\:90");
}

// What any view does with the form's mask: the keys go through MaskedInput, the text to the form.
TEST(StartTimePage, TimesTypedAsTheGridShowsThemAreCommittedAsTyped) {
    FormFixture f;
    f.form.FormShow();
    MaskedInput input(f.form.DoOrariEditorGetEditMask(1, 3));
    struct Case {
        const char* keys;
        const char* shown;
        bool refused;
    } cases[] = {{"29/02/2020 15:00", "29/02/2020 15:00", false},
                 {"24/08/2019 24:00", "29/02/2020 15:00", true},  // never wrapped to 02:40
                 {"01/09/2019 09:05", "01/09/2019 09:05", false},
                 {"1/9/2019 9:5", "01/09/2019 09:05", false},
                 {"24/08/2019 18:0012", "24/08/2019 18:00", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        std::string cell = f.form.DateOrari.DoOrariEditor.ValueAt(3);
        MaskedText typed{cell, 0, cell.size()};
        for (const char* key = c.keys; *key; ++key) typed = input.Type(typed, *key);
        EXPECT_EQ(f.form.DoOrariEditorValidate(1, 3, "3a", typed.text).empty(), !c.refused);
        EXPECT_EQ(f.form.DateOrari.DoOrariEditor.ValueAt(3), c.shown);
    }
}

TEST(StartTimePage, SettingsDialogCopiesItsValuesBackOnlyOnOk) {
    FormFixture f;
    f.form.FormShow();
    std::string original = f.form.Orari.UrlServizio;
    f.form.DoImpostazioniButtonClick();
    EXPECT_FALSE(f.form.DateOrari.DoImpostazioniButton.Enabled()) << "neither deadline check nor export on";
    f.form.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        f.desktop.onModal = [&](OrariSerieAForm& dialog) {
            EXPECT_EQ(dialog.UrlServizioEdit.Text(), original);
            dialog.SetUrlText(" http://127.0.0.1:1/altro.php ");
            dialog.AggiornaAvvioCheckBox.SetChecked(true);
            return ok;
        };
        f.form.DateOrari.DoImpostazioniButton.Click();
        EXPECT_EQ(f.form.Orari.UrlServizio, ok ? " http://127.0.0.1:1/altro.php " : original);
        EXPECT_EQ(f.form.Orari.AggiornaAvvio, ok);
    }
}

}  // namespace calvorin
