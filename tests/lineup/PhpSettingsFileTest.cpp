// SPDX-License-Identifier: GPL-3.0-or-later
// Lines of the PHP settings file: deadlines, passwords, e-mail services, Telegram.
#include "lineup/PhpSettingsFile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace calvorin {
namespace {

TEST(PhpDeadline, StartTimesOnlyWhenTheDeadlineIsChecked) {
    LineupOptions o;
    Lines off;
    AddPhpDeadline(off, o);
    EXPECT_EQ(off, Lines{"$controllaOrarioInvio = 0;"});

    o.controllaOrario = true;
    o.anticipoInvio = 45;
    for (int n = 0; n < 38; ++n)
        o.orariSerieA[n] = *LocalDateTime::FromParts({2019, 8, 24 + n % 5, 18, n, 30});
    Lines on;
    AddPhpDeadline(on, o);
    ASSERT_EQ(on.size(), 1u + 1 + 38 + 1 + 1 + 1);
    EXPECT_EQ(on[1], "$orariInizio = [");
    EXPECT_EQ(on[2], "\t1 => '2019-08-24 18.00',");
    EXPECT_EQ(on[39], "\t38 => '2019-08-26 18.37',");
    EXPECT_EQ(on[40], "];");
    EXPECT_EQ(on[41], "$anticipoInvio = 45;");
    EXPECT_EQ(on[42], "");
}

TEST(PhpPasswords, OneLinePerTeam) {
    Lines php;
    AddPhpPasswordsStart(php);
    AddPhpPassword(php, 7, "$5$abc$def");
    AddPhpPasswordsEnd(php);
    EXPECT_EQ(php, (Lines{"$passwords = [", "\t7 => '$5$abc$def',", "];", ""}));
}

TeamDirectory TwoTeams() {
    TeamDirectory d;
    d.recipients = {{"1", "Amici dell'Ultimo Minuto", "uno@example.org"},
                    {"2", "Bar Sport", "due@example.org"}};
    d.presidentAddress = "uno@example.org";
    d.presidentTeam = 1;
    return d;
}

LineupOptions EMailOptions(int service) {
    LineupOptions o;
    static const char* ids[] = {"phpmail", "smtp", "brevo", "mailjet", "sendgrid"};
    o.servizioEMail = service;
    o.servizioEMailId = ids[service];
    o.mittenteEMail = " lega@example.org ";
    return o;
}

Lines Messaging(const LineupOptions& o, const TeamDirectory& d = TwoTeams(), bool extended = false) {
    Lines php;
    AddPhpMessaging(php, o, d, "Lega Amici", extended);
    return php;
}

TEST(PhpMessaging, EMailBlockWithRecipientsAndPresident) {
    const Lines expected = {
        "$inviaEMail = 1;",
        "$mittenteEMail = 'Lega Amici <lega@example.org>';",
        "$destinatariEMail = [",
        "\t1 => ['nome' => 'Amici dell\\'Ultimo Minuto', 'indirizzo' => 'uno@example.org'],",
        "\t2 => ['nome' => 'Bar Sport', 'indirizzo' => 'due@example.org'],",
        "\t0 => ['nome' => 'Presidente di Lega', 'indirizzo' => 'uno@example.org'],",
        "];",
        "$servizioEMail = 'phpmail';",
        "",
        "$salvaSuSito = 1;",
        "",
        "$inoltraATelegram = 0;"};
    EXPECT_EQ(Messaging(EMailOptions(0)), expected);
}

TEST(PhpMessaging, ServiceLinesFollowTheSelectedService) {
    struct Case {
        const char* name;
        int service;
        int security;
        Lines lines;
    };
    const Case cases[] = {
        {"phpmail", 0, 1, {}},
        {"smtp none",
         1,
         0,
         {"$hostSmtp = 'mail.example.org:465';", "$usernameSmtp = 'u\\'s';",
          "$passwordSmtp = 'p\\\\w\\'d';"}},
        {"smtp starttls",
         1,
         1,
         {"$hostSmtp = 'tls://mail.example.org:465';", "$usernameSmtp = 'u\\'s';",
          "$passwordSmtp = 'p\\\\w\\'d';"}},
        {"smtp ssl",
         1,
         2,
         {"$hostSmtp = 'ssl://mail.example.org:465';", "$usernameSmtp = 'u\\'s';",
          "$passwordSmtp = 'p\\\\w\\'d';"}},
        {"brevo", 2, 1, {"$keyApiMail = 'xkeysib-\\'brevo';"}},
        {"mailjet", 3, 1, {"$keyApiMail = 'mj-api:mj\\\\secret';"}},
        {"sendgrid", 4, 1, {"$keyApiMail = 'SG.key?>';"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineupOptions o = EMailOptions(c.service);
        o.smtpHost = " mail.example.org ";
        o.smtpPorta = 465;
        o.smtpSicurezza = c.security;
        o.smtpUsername = "u's";
        o.smtpPassword = " p\\w'd ";
        o.brevoApiKey = "xkeysib-'brevo";
        o.mailjetApiKey = " mj-api ";
        o.mailjetSecretKey = "mj\\secret";
        o.sendGridApiKey = "SG.key?>";
        const Lines php = Messaging(o);
        const auto service =
            std::find(php.begin(), php.end(), "$servizioEMail = '" + o.servizioEMailId + "';");
        ASSERT_NE(service, php.end());
        const Lines serviceLines(service + 1, service + 1 + static_cast<long>(c.lines.size()));
        EXPECT_EQ(serviceLines, c.lines);
        EXPECT_EQ(*(service + 1 + static_cast<long>(c.lines.size())), "");
    }
}

TEST(PhpMessaging, EMailOffLeavesOnlyTheFlag) {
    LineupOptions o = EMailOptions(1);
    o.inviaEMail = false;
    o.salvaSuSito = false;
    EXPECT_EQ(Messaging(o, TeamDirectory{}),
              (Lines{"$inviaEMail = 0;", "$salvaSuSito = 0;", "", "$inoltraATelegram = 0;"}));
}

TEST(PhpMessaging, TelegramLinesAndExtendedMode) {
    LineupOptions o = EMailOptions(0);
    o.inviaEMail = false;
    o.inoltraATelegram = true;
    o.chatIdTelegram = " -100123 ";
    o.tokenTelegram = " 123:AB'C\\ ";
    o.modalitaTelegram = 1;
    const Lines normal = Messaging(o);
    const Lines tail = {"$inoltraATelegram = 1;", "$chatIdTelegram = '-100123';",
                        "$tokenBotTelegram = '123:AB\\'C\\\\';"};
    EXPECT_EQ(Lines(normal.end() - 3, normal.end()), tail);
    const Lines extended = Messaging(o, TwoTeams(), true);
    EXPECT_EQ(extended.back(), "$modalitaTelegram = 1;");
    EXPECT_EQ(extended.size(), normal.size() + 1);
}

TEST(PhpMessaging, PresidentRecipientNeedsAnAddress) {
    LineupOptions o = EMailOptions(0);
    TeamDirectory d = TwoTeams();
    d.presidentAddress.clear();
    EXPECT_THROW(
        {
            try {
                Messaging(o, d);
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "Occorre specificare l'indirizzo e-mail del Presidente di lega");
                throw;
            }
        },
        std::runtime_error);
    o.eMailPresidente = false;
    const Lines php = Messaging(o, d);
    EXPECT_EQ(
        std::count_if(php.begin(), php.end(), [](const std::string& l) { return l.starts_with("\t0 =>"); }),
        0);
}

}  // namespace
}  // namespace calvorin
