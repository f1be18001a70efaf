// SPDX-License-Identifier: GPL-3.0-or-later
// The whole line-up generator on small SQLite leagues: files, log lines and failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "GeneratorTestSupport.h"
#include "platform/crypto/PasswordHash.h"
#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"
#include "tools/demo/LeagueSchema.h"

namespace calvorin::test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kExpectedJs = {
    "/**",
    " * fcmInvioFormazioneDati.js",
    " * Generato da Calvorin versione 2.4.0",
    " */",
    "",
    "var totaleNumeroMassimoRiserve=7;",
    "var numeroMassimoRiserve=[0,1,2,2,2];",
    "",
    "var moduliAmmessi=[];\na=moduliAmmessi;",
    "a[0]=[0,1,3,4,3];",
    "a[1]=[0,1,4,4,2];",
    "",
    "var scriptServer=\"invform/invform.php\";",
    "",
    "var controllaOrario=0;",
    "",
    "var panchinaOrdinata=1;",
    "var regolaRigoristi=1;",
    "var regolaPanchina=1;",
    "var primavera=0;",
    "",
    "var disabilitaGiornata=0;",
    "var disabilitaIncontri=0;",
    "var nascondiComunicazioni=0;",
    "",
    "var inviaEMail=1;",
    "var destinatariEMail=[1,1,0,1];",
    "var eMailRidotta=1;",
    "var idPresidente=1;",
    "",
    "var salvaSuSito=1;",
    "",
    "var inoltraATelegram=0;",
    "",
    "var incontraInA=[];\na=incontraInA;",
    "a[1]=[0,2,104];",
    "a[2]=[0,101,3];",
    "a[3]=[0,4,102];",
    "a[4]=[0,103,1];",
    "",
    "var arrInvioFormazione=[];\na=arrInvioFormazione;",
    // Goalkeeper: 6 + 1 for the clean sheet; 6.0 is red (MV 6.15), 7.0 green (FM 5.9, last 7.0).
    "a[0]=new ifG(1,10,1,1,\"100%%6.000%1%7.000%3%6.000%0%7.000%3\");",
    // Defender without a mark in the last played matchday.
    "a[1]=new ifG(1,11,2,2,\"0%%---%0%---%0%sv/ng%0%sv/ng%0\");",
    // Midfielder: 6.5 and a goal (+3).
    "a[2]=new ifG(2,12,3,3,\"100%%6.500%3%9.500%3%6.500%0%9.500%3\");",
    // Forward who did not play the last played matchday (Voto1 0): not counted, but "sv/ng" there.
    "a[3]=new ifG(2,13,4,4,\"0%%---%0%---%0%sv/ng%0%sv/ng%0\");",
};

const std::vector<std::string> kExpectedPhp = {
    "<?php",
    "",
    "/**",
    " * invform.inc.php",
    " * Generato da Calvorin versione 2.4.0",
    " */",
    "",
    "$controllaOrarioInvio = 0;",
    "$passwords = [",
    "\t1 => 'HASH',",
    "\t2 => 'HASH',",
    "];",
    "",
    "$inviaEMail = 1;",
    "$mittenteEMail = '';",
    "$destinatariEMail = [",
    "\t1 => ['nome' => 'Amici dell\\'Ultimo Minuto', 'indirizzo' => 'uno@example.org'],",
    "\t2 => ['nome' => 'Bar Sport', 'indirizzo' => 'due@example.org'],",
    "\t0 => ['nome' => 'Presidente di Lega', 'indirizzo' => 'uno@example.org'],",
    "];",
    "$servizioEMail = 'phpmail';",
    "",
    "$salvaSuSito = 1;",
    "",
    "$inoltraATelegram = 0;",
};

using GeneraDati = GeneratorFixture;

TEST_F(GeneraDati, WritesBothFilesLineByLine) {
    ASSERT_TRUE(Run()) << sink.Text();
    EXPECT_EQ(JsText(), Crlf(kExpectedJs));
    const std::string php = PhpText();
    EXPECT_EQ(MaskHashes(php), Crlf(kExpectedPhp));
    const std::vector<std::string> hashes = HashesIn(php);
    ASSERT_EQ(hashes.size(), 2u);
    EXPECT_EQ(hashes[0], HashPasswordWithSalt("alfa", hashes[0].substr(3, 16)));
    EXPECT_EQ(hashes[1], HashPasswordWithSalt("  beta", hashes[1].substr(3, 16)));
}

TEST_F(GeneraDati, LogsEveryPhase) {
    ASSERT_TRUE(Run());
    const std::string fcm = env.Context().FcmFolder, site = env.Context().SiteFolder;
    EXPECT_EQ(sink.Text(), "  - Apertura file di lega\n    " + env.Context().LeagueFile +
                               "\n    OK\n"
                               "  - Lettura impostazioni della lega\n    OK\n    OK: Campionato\n"
                               "  - Lettura impostazioni della competizione predefinita\n    OK\n"
                               "  - Lettura moduli ammessi\n    OK\n"
                               "  - Lettura dati fantasquadre\n    OK\n"
                               "  - Lettura calendario di Serie A (parte I)\n    OK\n"
                               "  - Lettura calendario di Serie A (parte II)\n    OK\n"
                               "  - Lettura ultima giornata di A giocata\n    OK\n"
                               "  - Lettura opzioni colori di voti e fantavoti\n    " +
                               JoinPathText(fcm, {"FCM.ini"}) + "\n" +
                               "  - Lettura dati giocatori\n    OK\n" +
                               "  - Esportazione file impostazioni JavaScript\n    " +
                               JoinPathText(site, {"js", "fcmInvioFormazioneDati.js"}) + "\n    OK\n" +
                               "  - Esportazione file impostazioni PHP\n    " +
                               JoinPathText(site, {"invform", "invform.inc.php"}) + "\n    OK\n");
}

TEST_F(GeneraDati, ColourThresholdsComeFromFcmIni) {
    env.WriteFcmIni({"[Generale]", "VerdeSeMaggioreDiPort=7,5", "[Altro]", "AzzurroSeMaggioreDiPort=9"});
    ASSERT_TRUE(Run());
    EXPECT_NE(sink.Text().find(JoinPathText(env.Context().FcmFolder, {"FCM.ini"}) +
                               "\n    OK\n  - Lettura dati giocatori"),
              std::string::npos)
        << sink.Text();
    // 7.0 is now below green (7.5) and above blue (6.5).
    EXPECT_NE(JsText().find("a[0]=new ifG(1,10,1,1,\"100%%6.000%1%7.000%3%6.000%0%7.000%2\");"),
              std::string::npos);
}

TEST_F(GeneraDati, PrimaveraAppearancesCountOnlyTheTeamsEntries) {
    options.primavera = true;
    ASSERT_TRUE(Run());
    const std::string js = JsText();
    EXPECT_NE(js.find("var primavera=1;"), std::string::npos);
    EXPECT_NE(js.find("a[3]=new ifG(2,13,4,4,\"0%2%---%0%---%0%sv/ng%0%sv/ng%0\");"), std::string::npos);
    EXPECT_NE(js.find("a[2]=new ifG(2,12,3,3,\"100%%"), std::string::npos);  // not a Primavera player
}

TEST_F(GeneraDati, EdgeLeaguesStillRun) {
    struct Case {
        const char* name;
        std::function<void(demo::LeagueData&, LineupOptions&)> change;
        std::vector<std::string> expectedLines;
    };
    const Case cases[] = {
        {"two default competitions: the first",
         [](demo::LeagueData& d, LineupOptions&) {
             // The cup (ID 2) now comes before the championship (ID 3) in the table.
             d.competizioni[1].predefinita = true;
             d.competizioni[0].id = 3;
             for (auto& m : d.moduliAmmessi) m.idCompetizione = m.idCompetizione == 1 ? 3 : m.idCompetizione;
         },
         {"var totaleNumeroMassimoRiserve=9;",
          "var moduliAmmessi=[];\na=moduliAmmessi;\r\na[0]=[0,1,3,5,2];\r\n\r\n"}},
        {"empty Lega: the sender has no display name",
         [](demo::LeagueData& d, LineupOptions& o) {
             d.lega.clear();
             o.mittenteEMail = "lega@example.org";
         },
         {"$mittenteEMail = 'lega@example.org';"}},
        {"league name as display name",
         [](demo::LeagueData&, LineupOptions& o) { o.mittenteEMail = "lega@example.org"; },
         {"$mittenteEMail = 'Lega Amici <lega@example.org>';"}},
        {"no fixtures",
         [](demo::LeagueData& d, LineupOptions&) { d.incontri.clear(); },
         {"var incontraInA=[];\na=incontraInA;\r\n\r\nvar arrInvioFormazione"}},
        {"no played matchday",
         [](demo::LeagueData& d, LineupOptions&) { d.giornate[0].giocata = false; },
         {"a[0]=new ifG(1,10,1,1,\"100%%6.000%1%7.000%3%---%0%---%0\");"}},
        {"no rostered player",
         [](demo::LeagueData& d, LineupOptions&) { d.tesserati.clear(); },
         {"var arrInvioFormazione=[];\na=arrInvioFormazione;\r\n"}},
        {"no formation allowed",
         [](demo::LeagueData& d, LineupOptions&) { d.moduliAmmessi.clear(); },
         {"var moduliAmmessi=[];\na=moduliAmmessi;\r\n\r\nvar scriptServer="}},
        {"e-mail off",
         [](demo::LeagueData&, LineupOptions& o) { o.inviaEMail = false; },
         {"var inviaEMail=0;\r\n\r\nvar salvaSuSito=1;", "$inviaEMail = 0;\r\n$salvaSuSito = 1;"}},
        {"auto president without a president team: typed address, id 0",
         [](demo::LeagueData& d, LineupOptions& o) {
             d.fantasquadre[0].presGioc = false;
             o.indirizzoPresidente = "capo@example.org";
         },
         {"var idPresidente=0;",
          "\t0 => ['nome' => 'Presidente di Lega', 'indirizzo' => 'capo@example.org'],"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LeagueEnvironment caseEnv;
        demo::LeagueData data = SmallLeague();
        LineupOptions o = options;
        c.change(data, o);
        caseEnv.WriteLeague(data);
        MemoryLogSink caseSink;
        Log log(caseSink);
        ASSERT_TRUE(GeneraDatiInvioFormazione(o, caseEnv.Context(), log)) << caseSink.Text();
        const std::string files = ReadBytes(caseEnv.JsFile()) + ReadBytes(caseEnv.PhpFile());
        for (const std::string& line : c.expectedLines)
            EXPECT_NE(files.find(line), std::string::npos) << line;
        if (std::string(c.name) == "no rostered player") {
            EXPECT_TRUE(ReadBytes(caseEnv.JsFile()).ends_with("a=arrInvioFormazione;\r\n"));
        }
    }
}

struct FailureCase {
    const char* name;
    std::function<void(demo::LeagueData&, LineupOptions&)> change;
    std::function<void(LeagueEnvironment&)> damage;  // after the league is written
    const char* failingPhase;                        // the last phase heading before the KO line
    const char* message;                             // start of the message after "KO: "
    bool jsWritten;
};

void NoChange(demo::LeagueData&, LineupOptions&) {}
void NoDamage(LeagueEnvironment&) {}
std::function<void(LeagueEnvironment&)> DropColumn(const char* table, const char* column) {
    return [=](LeagueEnvironment& e) {
        demo::ExecuteOnLeagueFile(e.LeagueFile(),
                                  std::string("ALTER TABLE ") + table + " DROP COLUMN " + column);
    };
}

TEST_F(GeneraDati, FailuresLogKoAndKeepEarlierFiles) {
    const FailureCase cases[] = {
        {"no default competition", [](auto& d, auto&) { d.competizioni[0].predefinita = false; }, NoDamage,
         "  - Lettura impostazioni della lega", "Nessuna competizione predefinita", false},
        {"password in clear", [](auto& d, auto&) { d.fantasquadre[1].telef2 = "beta"; }, NoDamage,
         "  - Lettura dati fantasquadre", "Non è possibile utilizzare esportate in chiaro", false},
        {"empty password", [](auto& d, auto&) { d.fantasquadre[0].telef2 = " [noex]"; }, NoDamage,
         "  - Lettura dati fantasquadre", "Non è possibile utilizzare password vuote", false},
        {"no president address", [](auto& d, auto&) { d.fantasquadre[0].eMail = ""; }, NoDamage,
         "  - Lettura dati fantasquadre", "Occorre specificare l'indirizzo e-mail del Presidente di lega",
         false},
        {"missing league file", NoChange, [](LeagueEnvironment& e) { fs::remove(e.LeagueFile()); },
         "  - Apertura file di lega", "", false},
        {"missing bonus column", NoChange, DropColumn("Competizione", "PAzAmm"),
         "  - Lettura impostazioni della competizione predefinita", "", false},
        {"missing password column", NoChange, DropColumn("Fantasquadra", "Telef2"),
         "  - Lettura dati fantasquadre", "", false},
        {"missing score column", NoChange, DropColumn("Punteggio", "Assist"), "  - Lettura dati giocatori",
         "", false},
        {"missing Primavera column", NoChange, DropColumn("Tesserato", "AnnoDiContratto"),
         "  - Lettura dati giocatori", "", false},
        {"missing invform folder", NoChange,
         [](LeagueEnvironment& e) { fs::remove_all(e.Site() / "invform"); },
         "  - Esportazione file impostazioni PHP", "", true},
        {"missing js folder", NoChange, [](LeagueEnvironment& e) { fs::remove_all(e.Site() / "js"); },
         "  - Esportazione file impostazioni JavaScript", "", false},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        LeagueEnvironment caseEnv;
        demo::LeagueData data = SmallLeague();
        LineupOptions o = options;
        c.change(data, o);
        caseEnv.WriteLeague(data);
        c.damage(caseEnv);
        if (fs::exists(caseEnv.PhpFile().parent_path())) WriteBytes(caseEnv.PhpFile(), "old php");
        if (fs::exists(caseEnv.JsFile().parent_path()) && !c.jsWritten)
            WriteBytes(caseEnv.JsFile(), "old js");
        MemoryLogSink caseSink;
        Log log(caseSink);
        EXPECT_FALSE(GeneraDatiInvioFormazione(o, caseEnv.Context(), log));

        const std::string text = caseSink.Text();
        const std::string ko = "    KO: " + std::string(c.message);
        const std::size_t koAt = text.rfind("\n    KO: ");
        ASSERT_NE(koAt, std::string::npos) << text;
        EXPECT_EQ(text.substr(koAt + 1, ko.size()), ko);
        EXPECT_TRUE(text.ends_with("\n")) << text;
        EXPECT_EQ(text.find('\n', koAt + 1), text.size() - 1) << "the KO line is the last";
        EXPECT_LT(text.rfind(c.failingPhase), koAt);
        EXPECT_EQ(text.find("  - ", text.rfind(c.failingPhase) + 1), std::string::npos) << "no later phase";
        if (c.jsWritten) {
            EXPECT_TRUE(ReadBytes(caseEnv.JsFile()).starts_with("/**\r\n"));
        } else if (fs::exists(caseEnv.JsFile())) {
            EXPECT_EQ(ReadBytes(caseEnv.JsFile()), "old js");
        }
        if (fs::exists(caseEnv.PhpFile())) {
            EXPECT_EQ(ReadBytes(caseEnv.PhpFile()), "old php");
        }
    }
}

TEST_F(GeneraDati, NoDefaultCompetitionLogsTheLeagueOkFirst) {
    league.competizioni[0].predefinita = false;
    EXPECT_FALSE(Run());
    EXPECT_TRUE(sink.Text().ends_with(
        "  - Lettura impostazioni della lega\n    OK\n    KO: Nessuna competizione predefinita\n"));
}

TEST_F(GeneraDati, PresidentFailureComesAfterTheTeamsOk) {
    league.fantasquadre[0].eMail = "";
    EXPECT_FALSE(Run());
    EXPECT_TRUE(
        sink.Text().ends_with("  - Lettura dati fantasquadre\n    OK\n    KO: Occorre specificare "
                              "l'indirizzo e-mail del Presidente di lega\n"));
}

TEST_F(GeneraDati, TicksStoredAsMinusOneCountAsTicks) {
    // A booking and a match-winning goal, so that the score's yes/no columns matter too.
    options.primavera = true;
    for (auto& p : league.punteggi)
        if (p.id == 121) p.amm = p.golVittoria = true;
    league.competizioni[0].pAzGolVittoria = 1;
    ASSERT_TRUE(Run()) << sink.Text();
    const std::string js = JsText(), php = MaskHashes(PhpText());
    ASSERT_NE(js.find("a[2]=new ifG(2,12,3,3,\"100%%6.500%3%10.000%3%6.500%0%10.000%3\");"),
              std::string::npos)
        << js;

    StoreTicksAsMinusOne(env.LeagueFile());
    MemoryLogSink again;
    Log log(again);
    ASSERT_TRUE(GeneraDatiInvioFormazione(options, env.Context(), log)) << again.Text();
    EXPECT_EQ(JsText(), js);  // same default competition, played matchday, sold player, appearances
    EXPECT_EQ(MaskHashes(PhpText()), php);
}

TEST_F(GeneraDati, UnreadableFcmIniKeepsTheDefaultThresholds) {
    fs::create_directories(fs::path(env.Context().FcmFolder) / "FCM.ini");  // exists, but is no file
    ASSERT_TRUE(Run()) << sink.Text();
    EXPECT_EQ(JsText(), Crlf(kExpectedJs));
    const std::string text = sink.Text();
    const std::string shown = JoinPathText(env.Context().FcmFolder, {"FCM.ini"}) + "\n";
    const std::size_t at = text.find(shown);
    ASSERT_NE(at, std::string::npos) << text;
    const std::size_t from = at + shown.size();
    const std::string next = text.substr(from, text.find('\n', from) - from);
    EXPECT_TRUE(next.starts_with("    ") && next.ends_with("(si usano le soglie predefinite)")) << next;
    EXPECT_EQ(next.find("OK"), std::string::npos) << next;
}

TEST_F(GeneraDati, ScoreTablesAreOnlyNeededWhenAPlayerNeedsThem) {
    struct Case {
        const char* name;
        std::function<void(demo::LeagueData&)> change;
        const char* dropped;
    } cases[] = {
        {"no Formazione and no Primavera player", [](auto& d) { d.tesserati[3].annoDiContratto = 1; },
         "Formazione"},
        {"no Punteggio and no rostered player", [](auto& d) { d.tesserati.clear(); }, "Punteggio"},
    };
    options.primavera = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LeagueEnvironment caseEnv;
        demo::LeagueData data = SmallLeague();
        c.change(data);
        caseEnv.WriteLeague(data);
        demo::ExecuteOnLeagueFile(caseEnv.LeagueFile(), std::string("DROP TABLE ") + c.dropped);
        MemoryLogSink caseSink;
        Log log(caseSink);
        EXPECT_TRUE(GeneraDatiInvioFormazione(options, caseEnv.Context(), log)) << caseSink.Text();
    }
}

TEST_F(GeneraDati, FilesAreWindows1252WithoutBom) {
    league.fantasquadre[0].nome = "Città Żółw €";
    options.scriptServer = "perché/invform.php";
    ASSERT_TRUE(Run());
    const std::string js = JsText();
    EXPECT_NE(js.find("var scriptServer=\"perch\xE9/invform.php\";\r\n"), std::string::npos);
    EXPECT_NE(PhpText().find("'nome' => 'Citt\xE0 ?\xF3?w \x80'"), std::string::npos);
    EXPECT_FALSE(js.starts_with("\xEF\xBB\xBF"));
}

}  // namespace
}  // namespace calvorin::test
