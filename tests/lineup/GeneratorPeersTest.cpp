// SPDX-License-Identifier: GPL-3.0-or-later
// The generated files read by their real consumers: node runs the JavaScript, PHP includes the settings.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "GeneratorTestSupport.h"
#include "platform/fs/Files.h"
#include "support/Command.h"

namespace calvorin::test {
namespace {

using nlohmann::json;

// Evaluates the data file with a stub ifG and prints every variable as JSON. The file is decoded as
// Latin-1, which equals Windows-1252 outside 0x80-0x9F; the texts below avoid that range.
constexpr const char* kNodeScript = R"JS(
const fs = require('fs'), vm = require('vm');
const source = fs.readFileSync(process.argv[2]).toString('latin1');
const context = {};
vm.createContext(context);
vm.runInContext('function ifG(squadra, id, ruolo, club, riepilogo) {' +
    ' this.squadra = squadra; this.id = id; this.ruolo = ruolo; this.club = club; this.riepilogo = riepilogo; }' +
    source, context);
const names = ['totaleNumeroMassimoRiserve', 'numeroMassimoRiserve', 'moduliAmmessi', 'scriptServer',
    'controllaOrario', 'panchinaOrdinata', 'regolaRigoristi', 'regolaPanchina', 'primavera',
    'disabilitaGiornata', 'disabilitaIncontri', 'nascondiComunicazioni', 'inviaEMail', 'destinatariEMail',
    'eMailRidotta', 'idPresidente', 'salvaSuSito', 'inoltraATelegram', 'incontraInA', 'arrInvioFormazione'];
const out = {};
for (const n of names) out[n] = vm.runInContext('typeof ' + n + ' === "undefined" ? "(assente)" : ' + n, context);
console.log(JSON.stringify(out));
)JS";

// Includes the settings file, checks each team's password and prints the settings as JSON (texts
// converted from Windows-1252).
constexpr const char* kPhpScript = R"PHP(<?php
include $argv[1];
$passwordsToCheck = json_decode(file_get_contents($argv[2]), true);
$out = ['verifica' => [], 'sbagliata' => []];
foreach ($passwordsToCheck as $id => $pw) {
    $out['verifica'][$id] = password_verify($pw, $passwords[$id]);
    $out['sbagliata'][$id] = password_verify($pw . 'x', $passwords[$id]);
}
$names = ['controllaOrarioInvio', 'orariInizio', 'anticipoInvio', 'inviaEMail', 'mittenteEMail',
    'destinatariEMail', 'servizioEMail', 'hostSmtp', 'usernameSmtp', 'passwordSmtp', 'keyApiMail',
    'salvaSuSito', 'inoltraATelegram', 'chatIdTelegram', 'tokenBotTelegram', 'modalitaTelegram'];
foreach ($names as $n) { if (isset($$n)) { $out[$n] = $$n; } }
array_walk_recursive($out, function (&$v) { if (is_string($v)) { $v = iconv('Windows-1252', 'UTF-8', $v); } });
echo json_encode($out);
)PHP";

class GeneratorPeers : public GeneratorFixture {
  protected:
    void SetUp() override {
        if (!HaveProgram("node") || !HaveProgram("php")) GTEST_SKIP() << "node or php is not installed";
        WriteBytes(env.Root() / "read.js", kNodeScript);
        WriteBytes(env.Root() / "read.php", kPhpScript);
    }

    json NodeVariables() {
        const CommandResult r =
            RunCommand("node " + ShellQuote(env.Root() / "read.js") + " " + ShellQuote(env.JsFile()));
        EXPECT_EQ(r.exitCode, 0) << r.output;
        return json::parse(r.output, nullptr, false);
    }

    // Runs `php -l`, then the reading script with the passwords to check.
    json PhpSettings(const json& passwords) {
        const CommandResult lint = RunCommand("php -l " + ShellQuote(env.PhpFile()));
        EXPECT_EQ(lint.exitCode, 0) << lint.output;
        WriteBytes(env.Root() / "passwords.json", passwords.dump());
        const CommandResult r =
            RunCommand("php " + ShellQuote(env.Root() / "read.php") + " " + ShellQuote(env.PhpFile()) + " " +
                       ShellQuote(env.Root() / "passwords.json"));
        EXPECT_EQ(r.exitCode, 0) << r.output;
        return json::parse(r.output, nullptr, false);
    }

    void UseHostileTexts() {
        league.lega = {"Lega dell'Università \"Top\" \\ Ω"};
        league.fantasquadre[0].nome = "O'Brien \\ \"Boss\" ?> </script> ñ Ж";
        league.fantasquadre[0].telef2 = "pä'ss\\w\"rd ?>[noex]";
        league.fantasquadre[1].nome = "';} phpinfo(); /*";
        league.fantasquadre[1].telef2 = "\\'[noex]";
        options.scriptServer = "  perché/\"x\"\\y</script>\n?>Ω  ";
        options.controllaOrario = true;
        for (int n = 0; n < 38; ++n)
            options.orariSerieA[n] = *LocalDateTime::FromParts({2025, 8, 23, 18, 30, 0});
        options.orariSerieA[0] = *LocalDateTime::FromParts({2019, 8, 24, 18, 0, 0});
        options.mittenteEMail = "lega@example.org";
        options.servizioEMail = 1;
        options.servizioEMailId = "smtp";
        options.smtpHost = "smtp.example.org'";
        options.smtpPorta = 465;
        options.smtpSicurezza = 2;
        options.smtpUsername = "utente\\";
        options.smtpPassword = "p'w\\d?>";
        options.inoltraATelegram = true;
        options.tokenTelegram = "12:AB'\\";
        options.chatIdTelegram = "-100'1";
        options.modalitaTelegram = 1;
        env.Context().Extended = true;
    }
};

TEST_F(GeneratorPeers, NodeReadsEveryVariableOfTheDataFile) {
    UseHostileTexts();
    ASSERT_TRUE(Run()) << sink.Text();
    const json v = NodeVariables();
    ASSERT_FALSE(v.is_discarded());
    EXPECT_EQ(v["scriptServer"], "perch\u00e9/\"x\"\\y</script>\n?>?");
    EXPECT_EQ(v["totaleNumeroMassimoRiserve"], 7);
    EXPECT_EQ(v["numeroMassimoRiserve"], json({0, 1, 2, 2, 2}));
    EXPECT_EQ(v["moduliAmmessi"], json({{0, 1, 3, 4, 3}, {0, 1, 4, 4, 2}}));
    EXPECT_EQ(v["controllaOrario"], 1);
    EXPECT_EQ(v["destinatariEMail"], json({1, 1, 0, 1}));
    EXPECT_EQ(v["idPresidente"], 1);
    EXPECT_EQ(v["inoltraATelegram"], 1);
    EXPECT_EQ(v["incontraInA"], json::parse("[null,[0,2,104],[0,101,3],[0,4,102],[0,103,1]]"));
    const json& players = v["arrInvioFormazione"];
    ASSERT_EQ(players.size(), 4u);
    EXPECT_EQ(players[2], json({{"squadra", 2},
                                {"id", 12},
                                {"ruolo", 3},
                                {"club", 3},
                                {"riepilogo", "100%%6.500%3%9.500%3%6.500%0%9.500%3"}}));
    EXPECT_EQ(players[1]["riepilogo"], "0%%---%0%---%0%sv/ng%0%sv/ng%0");
}

TEST_F(GeneratorPeers, NodeSeesMissingEMailVariablesWhenEMailIsOff) {
    options.inviaEMail = false;
    ASSERT_TRUE(Run());
    const json v = NodeVariables();
    EXPECT_EQ(v["inviaEMail"], 0);
    EXPECT_EQ(v["destinatariEMail"], "(assente)");
    EXPECT_EQ(v["idPresidente"], "(assente)");
}

TEST_F(GeneratorPeers, PhpIncludesTheSettingsAndVerifiesEveryPassword) {
    UseHostileTexts();
    ASSERT_TRUE(Run()) << sink.Text();
    const json s = PhpSettings({{"1", "pä'ss\\w\"rd ?>"}, {"2", "\\'"}});
    ASSERT_FALSE(s.is_discarded());
    EXPECT_EQ(s["verifica"], json({{"1", true}, {"2", true}}));
    EXPECT_EQ(s["sbagliata"], json({{"1", false}, {"2", false}}));
    EXPECT_EQ(s["controllaOrarioInvio"], 1);
    EXPECT_EQ(s["orariInizio"]["1"], "2019-08-24 18.00");
    EXPECT_EQ(s["orariInizio"]["38"], "2025-08-23 18.30");
    EXPECT_EQ(s["anticipoInvio"], 30);
    EXPECT_EQ(s["mittenteEMail"], "\"Lega dell'Universit\u00e0 \\\"Top\\\" \\\\ ?\" <lega@example.org>");
    EXPECT_EQ(s["destinatariEMail"]["1"], json({{"nome", "O'Brien \\ \"Boss\" ?> </script> \u00f1 ?"},
                                                {"indirizzo", "uno@example.org"}}));
    EXPECT_EQ(s["destinatariEMail"]["2"]["nome"], "';} phpinfo(); /*");
    EXPECT_EQ(s["destinatariEMail"]["0"],
              json({{"nome", "Presidente di Lega"}, {"indirizzo", "uno@example.org"}}));
    EXPECT_EQ(s["servizioEMail"], "smtp");
    EXPECT_EQ(s["hostSmtp"], "ssl://smtp.example.org':465");
    EXPECT_EQ(s["usernameSmtp"], "utente\\");
    EXPECT_EQ(s["passwordSmtp"], "p'w\\d?>");
    EXPECT_EQ(s["salvaSuSito"], 1);
    EXPECT_EQ(s["inoltraATelegram"], 1);
    EXPECT_EQ(s["chatIdTelegram"], "-100'1");
    EXPECT_EQ(s["tokenBotTelegram"], "12:AB'\\");
    EXPECT_EQ(s["modalitaTelegram"], 1);
}

TEST_F(GeneratorPeers, PhpReadsTheKeyOfEveryService) {
    struct Case {
        int service;
        const char* id;
        const char* key;
    };
    const Case cases[] = {
        {2, "brevo", "xkeysib-a'b\\"}, {3, "mailjet", "mj'api:mj\\secret"}, {4, "sendgrid", "SG.?>'"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        options.servizioEMail = c.service;
        options.servizioEMailId = c.id;
        options.brevoApiKey = "xkeysib-a'b\\";
        options.mailjetApiKey = "mj'api";
        options.mailjetSecretKey = "mj\\secret";
        options.sendGridApiKey = " SG.?>' ";
        ASSERT_TRUE(Run());
        const json s = PhpSettings(json::object());
        EXPECT_EQ(s["servizioEMail"], c.id);
        EXPECT_EQ(s["keyApiMail"], c.key);
        EXPECT_FALSE(s.contains("hostSmtp"));
    }
}

}  // namespace
}  // namespace calvorin::test
