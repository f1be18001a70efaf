// SPDX-License-Identifier: GPL-3.0-or-later
// The options of the line-up submission pages that the generator reads, copied from the window.
#pragma once

#include <array>
#include <string>

#include "starttimes/LocalDateTime.h"

namespace calvorin {

// A plain copy of the controls of the "Invio formazione" pages. Texts are UTF-8 as typed (the generator
// trims them where the files need it); flags are the check boxes; indexes are the selected list items.
struct LineupOptions {
    std::string scriptServer;  // IfScriptServerEdit
    bool controllaOrario = false;
    int anticipoInvio = 30;  // minutes, fraction already cut off

    bool panchinaOrdinata = true;
    bool regolaRigoristi = true;
    bool regolaPanchina = true;
    bool primavera = false;
    bool disabilitaGiornata = false;
    bool disabilitaIncontri = false;
    bool nascondiComunicazioni = false;

    bool inviaEMail = true;
    bool eMailPresidente = true;
    bool eMailAvversario = true;
    bool eMailTutti = false;
    bool eMailSeStessi = true;
    bool eMailRidotta = true;
    bool indirizzoPresidenteAuto = true;
    std::string indirizzoPresidente;
    std::string mittenteEMail;

    // Item index of IfServizioEMailComboBox (0 phpmail, 1 smtp, 2 brevo, 3 mailjet, 4 sendgrid) and the
    // identifier at that index ("phpmail", "smtp", "brevo", "mailjet", "sendgrid").
    int servizioEMail = 0;
    std::string servizioEMailId = "phpmail";
    std::string smtpHost;
    int smtpPorta = 587;
    int smtpSicurezza = 1;  // 0 "nessuna", 1 "STARTTLS", 2 "SSL/TLS"
    std::string smtpUsername;
    std::string smtpPassword;
    std::string brevoApiKey;
    std::string mailjetApiKey;
    std::string mailjetSecretKey;
    std::string sendGridApiKey;

    bool salvaSuSito = true;

    bool inoltraATelegram = false;
    std::string tokenTelegram;
    std::string chatIdTelegram;
    int modalitaTelegram = 0;  // 0 "testuale", 1 "grafica"

    // Start of each Serie A matchday, 1 to 38.
    std::array<LocalDateTime, 38> orariSerieA{};
};

}  // namespace calvorin
