// SPDX-License-Identifier: GPL-3.0-or-later
// Lines of the JavaScript data file: formations, options, fixture matrix, players.
#include "lineup/JsDataFile.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace calvorin {
namespace {

TEST(FixtureMatrix, EncodesHomeAndAwayMatches) {
    FixtureMatrix m(7, 2);
    m.Add(3, 7, 1);
    m.Add(5, 3, 2);
    Lines js;
    AddJsFixtures(js, m);
    ASSERT_EQ(js.size(), 9u);
    EXPECT_EQ(js[0], "var incontraInA=[];\na=incontraInA;");
    EXPECT_EQ(js[3], "a[3]=[0,7,105];");
    EXPECT_EQ(js[5], "a[5]=[0,0,3];");
    EXPECT_EQ(js[7], "a[7]=[0,103,0];");
    EXPECT_EQ(js[1], "a[1]=[0,0,0];");  // a club in no fixture
    EXPECT_EQ(js[8], "");
}

TEST(FixtureMatrix, EdgeSizesAndOverwrites) {
    Lines noClubs;
    AddJsFixtures(noClubs, FixtureMatrix(0, 0));
    EXPECT_EQ(noClubs, (Lines{"var incontraInA=[];\na=incontraInA;", ""}));

    Lines noMatchdays;
    AddJsFixtures(noMatchdays, FixtureMatrix(2, 0));
    EXPECT_EQ(noMatchdays, (Lines{"var incontraInA=[];\na=incontraInA;", "a[1]=[0];", "a[2]=[0];", ""}));

    FixtureMatrix m(3, 1);
    m.Add(1, 2, 1);
    m.Add(1, 3, 1);  // a later row for club 1 overwrites
    m.Add(0, 2, 1);  // outside the matrix: ignored
    m.Add(1, 2, 9);
    EXPECT_EQ(m.At(1, 1), 3);
    EXPECT_EQ(m.At(2, 1), 101);
    EXPECT_EQ(m.At(3, 1), 101);
}

// Clubs x matchdays of a hostile league would overflow the cell count and write past the cells.
TEST(FixtureMatrix, RefusesSizesTheFileCannotEncode) {
    const std::int64_t huge = std::int64_t{1} << 62;
    EXPECT_THROW(FixtureMatrix(huge, 38), std::length_error);
    EXPECT_THROW(FixtureMatrix(3, huge), std::length_error);
    EXPECT_THROW(FixtureMatrix(100, 1), std::length_error);
    EXPECT_THROW(FixtureMatrix(1, 39), std::length_error);
    FixtureMatrix largest(99, 38);
    largest.Add(99, 1, 38);
    EXPECT_EQ(largest.At(99, 38), 1);
    EXPECT_EQ(largest.At(1, 38), 199);
}

TEST(JsFormations, IndexFromZeroInQueryOrder) {
    Lines js;
    AddJsFormations(js, {{4, 4, 2}, {3, 5, 2}});
    EXPECT_EQ(
        js, (Lines{"var moduliAmmessi=[];\na=moduliAmmessi;", "a[0]=[0,1,4,4,2];", "a[1]=[0,1,3,5,2];", ""}));
    Lines none;
    AddJsFormations(none, {});
    EXPECT_EQ(none, (Lines{"var moduliAmmessi=[];\na=moduliAmmessi;", ""}));
}

TEST(JsBench, WritesTotalsAndPerRoleSizes) {
    CompetitionRules r;
    r.giocInPanchinaTotale = 7;
    r.giocInPanchina = {0, 1, 2, 3, -1};
    Lines js;
    AddJsBench(js, r);
    EXPECT_EQ(js, (Lines{"var totaleNumeroMassimoRiserve=7;", "var numeroMassimoRiserve=[0,1,2,3,-1];", ""}));
}

TEST(JsOptions, EMailLinesOnlyWhenSendingIsOn) {
    LineupOptions o;
    o.scriptServer = "  dir\\\"x\"/in\nv.php \t";
    o.controllaOrario = true;
    o.regolaPanchina = false;
    o.primavera = true;
    o.nascondiComunicazioni = true;
    o.inviaEMail = true;
    o.eMailAvversario = false;
    o.eMailTutti = true;
    o.eMailRidotta = false;
    Lines on;
    AddJsOptions(on, o, 4);
    const Lines expected = {"var scriptServer=\"dir\\\\\\\"x\\\"/in\\nv.php\";",
                            "",
                            "var controllaOrario=1;",
                            "",
                            "var panchinaOrdinata=1;",
                            "var regolaRigoristi=1;",
                            "var regolaPanchina=0;",
                            "var primavera=1;",
                            "",
                            "var disabilitaGiornata=0;",
                            "var disabilitaIncontri=0;",
                            "var nascondiComunicazioni=1;",
                            "",
                            "var inviaEMail=1;",
                            "var destinatariEMail=[1,0,1,1];",
                            "var eMailRidotta=0;",
                            "var idPresidente=4;",
                            "",
                            "var salvaSuSito=1;",
                            "",
                            "var inoltraATelegram=0;",
                            ""};
    EXPECT_EQ(on, expected);

    o.inviaEMail = false;
    o.inoltraATelegram = true;
    Lines off;
    AddJsOptions(off, o, 4);
    ASSERT_EQ(off.size(), expected.size() - 3);
    EXPECT_EQ(off[13], "var inviaEMail=0;");
    EXPECT_EQ(off[14], "");
    EXPECT_EQ(off[17], "var inoltraATelegram=1;");
}

TEST(JsPlayer, WritesTheRecordWithItsSummary) {
    Lines js;
    AddJsPlayersStart(js);
    AddJsPlayer(js, 0, {2, 1234, 3, 17, "100%%6.500%3%9.500%3%6.500%0%9.500%3"});
    EXPECT_EQ(js, (Lines{"var arrInvioFormazione=[];\na=arrInvioFormazione;",
                         "a[0]=new ifG(2,1234,3,17,\"100%%6.500%3%9.500%3%6.500%0%9.500%3\");"}));
}

}  // namespace
}  // namespace calvorin
