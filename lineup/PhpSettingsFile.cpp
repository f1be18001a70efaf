// SPDX-License-Identifier: GPL-3.0-or-later
// Lines of the submission script's settings file invform/invform.inc.php.
#include "lineup/PhpSettingsFile.h"

#include <stdexcept>

#include "lineup/EscapeQuoted.h"
#include "lineup/Mailbox.h"
#include "platform/text/Trim.h"
#include "plugin/log/Format.h"

namespace calvorin {

namespace {

// Every text goes inside a single-quoted PHP string: keys, passwords and tokens too, since a quote or a
// backslash in them would otherwise end the string early.
std::string Quoted(std::string_view text) {
    return EscapeQuoted(text, '\'');
}
std::string QuotedTrimmed(std::string_view text) {
    return Quoted(TrimView(text));
}

const char* SmtpSecurityPrefix(int index) {
    if (index == 1) return "tls://";
    if (index == 2) return "ssl://";
    return "";
}

void AddServiceLines(Lines& php, const LineupOptions& o) {
    switch (o.servizioEMail) {
        case 1:
            php.push_back(Format("$hostSmtp = '%s%s:%d';", {SmtpSecurityPrefix(o.smtpSicurezza),
                                                            QuotedTrimmed(o.smtpHost), o.smtpPorta}));
            php.push_back(Format("$usernameSmtp = '%s';", {QuotedTrimmed(o.smtpUsername)}));
            php.push_back(Format("$passwordSmtp = '%s';", {QuotedTrimmed(o.smtpPassword)}));
            break;
        case 2:
            php.push_back(Format("$keyApiMail = '%s';", {QuotedTrimmed(o.brevoApiKey)}));
            break;
        case 3:
            php.push_back(Format("$keyApiMail = '%s:%s';",
                                 {QuotedTrimmed(o.mailjetApiKey), QuotedTrimmed(o.mailjetSecretKey)}));
            break;
        case 4:
            php.push_back(Format("$keyApiMail = '%s';", {QuotedTrimmed(o.sendGridApiKey)}));
            break;
        default:
            break;
    }
}

std::vector<Recipient> RecipientsWithPresident(const LineupOptions& o, const TeamDirectory& teams) {
    std::vector<Recipient> recipients = teams.recipients;
    if (!o.eMailPresidente) return recipients;
    if (teams.presidentAddress.empty())
        throw std::runtime_error("Occorre specificare l'indirizzo e-mail del Presidente di lega");
    recipients.push_back({"0", "Presidente di Lega", teams.presidentAddress});
    return recipients;
}

void AddEMailLines(Lines& php, const LineupOptions& o, const TeamDirectory& teams,
                   std::string_view leagueName) {
    const std::vector<Recipient> recipients = RecipientsWithPresident(o, teams);
    php.push_back(Format("$mittenteEMail = '%s';", {Quoted(FormatSender(o.mittenteEMail, leagueName))}));
    php.emplace_back("$destinatariEMail = [");
    for (const Recipient& r : recipients) {
        php.push_back(Format("\t%s => ['nome' => '%s', 'indirizzo' => '%s'],",
                             {r.key, Quoted(r.name), Quoted(r.address)}));
    }
    php.emplace_back("];");
    php.push_back(Format("$servizioEMail = '%s';", {Quoted(o.servizioEMailId)}));
    AddServiceLines(php, o);
    php.emplace_back();
}

void AddTelegramLines(Lines& php, const LineupOptions& o, bool extended) {
    php.push_back(Format("$inoltraATelegram = %d;", {o.inoltraATelegram}));
    if (!o.inoltraATelegram) return;
    php.push_back(Format("$chatIdTelegram = '%s';", {QuotedTrimmed(o.chatIdTelegram)}));
    php.push_back(Format("$tokenBotTelegram = '%s';", {QuotedTrimmed(o.tokenTelegram)}));
    if (extended) php.push_back(Format("$modalitaTelegram = %d;", {o.modalitaTelegram}));
}

}  // namespace

void AddPhpHeader(Lines& php, std::string_view version) {
    php.insert(php.end(), {"<?php", "", "/**", " * invform.inc.php",
                           Format(" * Generato da Calvorin versione %s", {version}), " */", ""});
}

void AddPhpDeadline(Lines& php, const LineupOptions& o) {
    php.push_back(Format("$controllaOrarioInvio = %d;", {o.controllaOrario}));
    if (!o.controllaOrario) return;
    php.emplace_back("$orariInizio = [");
    for (std::size_t n = 1; n <= o.orariSerieA.size(); ++n)
        php.push_back(Format("\t%d => '%s',", {n, o.orariSerieA[n - 1].StorageForm()}));
    php.emplace_back("];");
    php.push_back(Format("$anticipoInvio = %d;", {o.anticipoInvio}));
    php.emplace_back();
}

void AddPhpPasswordsStart(Lines& php) {
    php.emplace_back("$passwords = [");
}

void AddPhpPassword(Lines& php, std::int64_t teamId, std::string_view hash) {
    php.push_back(Format("\t%d => '%s',", {teamId, Quoted(hash)}));
}

void AddPhpPasswordsEnd(Lines& php) {
    php.insert(php.end(), {"];", ""});
}

void AddPhpMessaging(Lines& php, const LineupOptions& o, const TeamDirectory& teams,
                     std::string_view leagueName, bool extended) {
    php.push_back(Format("$inviaEMail = %d;", {o.inviaEMail}));
    if (o.inviaEMail) AddEMailLines(php, o, teams, leagueName);
    php.push_back(Format("$salvaSuSito = %d;", {o.salvaSuSito}));
    php.emplace_back();
    AddTelegramLines(php, o, extended);
}

}  // namespace calvorin
