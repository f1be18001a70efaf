// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of each settings page, with their design texts, hints and defaults.
#pragma once

#include "plugin/Controls.h"

namespace calvorin {

struct GeneralePage {
    GeneralePage();
    CheckBox gnDisabilitaJsVariabiliCheckBox{"gnDisabilitaJsVariabiliCheckBox"};
};

struct InvioFormazionePage {
    InvioFormazionePage();
    CheckBox InvioFormazioneCheckBox{"InvioFormazioneCheckBox"};
    Edit IfScriptServerEdit{"IfScriptServerEdit"};
};

struct TermineInvioPage {
    TermineInvioPage();
    CheckBox IfControllaOrarioCheckBox{"IfControllaOrarioCheckBox"};
    Button IfDateOrariLinkLabel{"IfDateOrariLinkLabel"};
    Label IfDateOrariLabel{"IfDateOrariLabel"};
    Label IfAnticipoInvioLabel{"IfAnticipoInvioLabel"};
    NumberBox IfAnticipoInvioNumberBox{"IfAnticipoInvioNumberBox", 0, 7200, 5, 30};
};

struct InterfacciaPage {
    InterfacciaPage();
    CheckBox IfDisabilitaGiornataCheckBox{"IfDisabilitaGiornataCheckBox"};
    CheckBox IfDisabilitaIncontriCheckBox{"IfDisabilitaIncontriCheckBox"};
    CheckBox IfNascondiComunicazioniCheckBox{"IfNascondiComunicazioniCheckBox"};
};

struct RegolePage {
    RegolePage();
    CheckBox IfPanchinaOrdinataCheckBox{"IfPanchinaOrdinataCheckBox"};
    CheckBox IfRegolaPanchinaCheckBox{"IfRegolaPanchinaCheckBox"};
    CheckBox IfRegolaRigoristiCheckBox{"IfRegolaRigoristiCheckBox"};
    CheckBox IfPrimaveraCheckBox{"IfPrimaveraCheckBox"};
    CheckBox IfTrequartistiCheckBox{"IfTrequartistiCheckBox"};
};

// Card indices of IfServizioEMailCardPanel, equal to the indices of EmailServiceIds.
enum EmailServiceCard {
    kPhpMailCard = 0,
    kSmtpCard = 1,
    kBrevoCard = 2,
    kMailjetCard = 3,
    kSendGridCard = 4
};

struct EMailPage {
    EMailPage();
    CheckBox IfInviaEMailCheckBox{"IfInviaEMailCheckBox"};
    Control IfInviaEMailPageControl{"IfInviaEMailPageControl"};
    Edit IfMittenteEMailEdit{"IfMittenteEMailEdit"};
    Edit IfIndirizzoPresidenteEdit{"IfIndirizzoPresidenteEdit"};
    CheckBox IfIndirizzoPresidenteAutoCheckBox{"IfIndirizzoPresidenteAutoCheckBox"};
    GroupBox IfDestinatariGroupBox{"IfDestinatariGroupBox"};
    CheckBox IfEMailPresidenteCheckBox{"IfEMailPresidenteCheckBox"};
    CheckBox IfEMailSeStessiCheckBox{"IfEMailSeStessiCheckBox"};
    CheckBox IfEMailAvversarioCheckBox{"IfEMailAvversarioCheckBox"};
    CheckBox IfEMailTuttiCheckBox{"IfEMailTuttiCheckBox"};
    CheckBox IfEMailRidottaCheckBox{"IfEMailRidottaCheckBox"};
    Label IfServizioEMailLabel{"IfServizioEMailLabel"};
    ComboBox IfServizioEMailComboBox{"IfServizioEMailComboBox",
                                     {"Funzione mail() di PHP", "Server SMTP (interno o esterno)",
                                      "API mail di Brevo", "API mail di Mailjet", "API mail di SendGrid"}};
    CardPanel IfServizioEMailCardPanel{"IfServizioEMailCardPanel"};
    // Card 1: SMTP
    Edit IfSmtpHostEdit{"IfSmtpHostEdit"};
    Label IfSmtpPortaLabel{"IfSmtpPortaLabel"};
    NumberBox IfSmtpPortaNumberBox{"IfSmtpPortaNumberBox", 1, 65535, 1, 10};
    Label IfSmtpSicurezzaLabel{"IfSmtpSicurezzaLabel"};
    ComboBox IfSmtpSicurezzaComboBox{"IfSmtpSicurezzaComboBox", {"nessuna", "STARTTLS", "SSL/TLS"}};
    Edit IfSmtpUsernameEdit{"IfSmtpUsernameEdit"};
    Edit IfSmtpPasswordEdit{"IfSmtpPasswordEdit"};
    // Cards 2-4: the mail APIs
    Edit IfBrevoApiKeyEdit{"IfBrevoApiKeyEdit"};
    Edit IfMailjetApiKeyEdit{"IfMailjetApiKeyEdit"};
    Edit IfMailjetSecretKeyEdit{"IfMailjetSecretKeyEdit"};
    Edit IfSendGridApiKeyEdit{"IfSendGridApiKeyEdit"};
};

struct SalvataggioSitoPage {
    SalvataggioSitoPage();
    CheckBox IfSalvaSuSitoCheckBox{"IfSalvaSuSitoCheckBox"};
};

struct TelegramPage {
    TelegramPage();
    CheckBox IfInoltraATelegramCheckBox{"IfInoltraATelegramCheckBox"};
    Edit IfTokenTelegramEdit{"IfTokenTelegramEdit"};
    Edit IfChatIdTelegramEdit{"IfChatIdTelegramEdit"};
    Label IfModalitaTelegramLabel{"IfModalitaTelegramLabel"};
    ComboBox IfModalitaTelegramComboBox{"IfModalitaTelegramComboBox", {"testuale", "grafica"}};
};

struct DateOrariPage {
    DateOrariPage();
    CheckBox EsportaDateOrariCheckBox{"EsportaDateOrariCheckBox"};
    KeyValueGrid DoOrariEditor{"DoOrariEditor", "Giorn. di A", "Data e orario inizio partite"};
    Button DoAggiornaButton{"DoAggiornaButton"};
    Button DoImpostazioniButton{"DoImpostazioniButton"};
};

struct BackupPage {
    BackupPage();
    CheckBox BackupCheckBox{"BackupCheckBox"};
    GroupBox BkSorgenteGroupBox{"BkSorgenteGroupBox"};
    CheckBox BkUltimoCheckBox{"BkUltimoCheckBox"};
    CheckBox BkSoloLegaCheckBox{"BkSoloLegaCheckBox"};
    Edit BkDirEdit{"BkDirEdit"};
    CheckBox EsportazioneCheckBox{"EsportazioneCheckBox"};
    GroupBox EsSorgenteGroupBox{"EsSorgenteGroupBox"};
    Edit EsFilenameEdit{"EsFilenameEdit"};
    Edit BackupPasswordEdit{"BackupPasswordEdit"};
    CheckBox BackupNomiCasualiCheckBox{"BackupNomiCasualiCheckBox"};
};

}  // namespace calvorin
