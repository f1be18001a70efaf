// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/Pages.h"

namespace calvorin {
namespace {

void Describe(Control& c, std::string text, std::string hint = {}) {
    c.SetText(std::move(text));
    c.SetHint(std::move(hint));
}

void DescribeEdit(Edit& e, std::string caption, std::string hint) {
    e.SetCaption(std::move(caption));
    e.SetHint(std::move(hint));
}

}  // namespace

GeneralePage::GeneralePage() {
    Describe(gnDisabilitaJsVariabiliCheckBox, "Non creare il file js/fcmVariabiliCalvorin.js",
             "Disabilita la creazione del file js/fcmVariabiliCalvorin.js");
}

InvioFormazionePage::InvioFormazionePage() {
    Describe(InvioFormazioneCheckBox, "Abilita invio formazione",
             "Abilita la funzione di invio formazione sul sito generato da FCM");
    DescribeEdit(
        IfScriptServerEdit, "Percorso script server-side",
        "Percorso dello script server-side in grado di eseguire tutte le operazioni d'invio della formazione");
}

TermineInvioPage::TermineInvioPage() {
    Describe(IfControllaOrarioCheckBox, "Controlla orario invio",
             "Controlla che l'invio della formazione avvenga entro un termine stabilito");
    IfControllaOrarioCheckBox.SetChecked(true);
    const char* dateHint =
        "Imposta date e orari d'inizio delle partite di Serie A per il calcolo del termine d'invio";
    Describe(IfDateOrariLinkLabel, "Imposta", dateHint);
    Describe(IfDateOrariLabel, "date e orari d'inizio delle partite di Serie A", dateHint);
    Describe(IfAnticipoInvioLabel, "Anticipo invio [min]");
    IfAnticipoInvioNumberBox.SetHint(
        "Anticipo rispetto all'orario di inizio partite di Serie A per il calcolo del termine d'invio");
    IfAnticipoInvioNumberBox.SetValue(15);
}

InterfacciaPage::InterfacciaPage() {
    Describe(IfDisabilitaGiornataCheckBox, "Disabilita modifica giornata",
             "Non permette all'utente di modificare la giornata d'invio formazione");
    Describe(IfDisabilitaIncontriCheckBox, "Disabilita scelta incontri",
             "Non permette all'utente di scegliere gli incontri per cui è valida la formazione");
    Describe(IfNascondiComunicazioniCheckBox, "Nascondi comunicazioni",
             "Non visualizza l'area per inserire le comunicazioni");
}

RegolePage::RegolePage() {
    Describe(IfPanchinaOrdinataCheckBox, "Ordina panchina per ruolo",
             "Ordina automaticamente per ruolo i giocatori della pachina");
    Describe(IfRegolaPanchinaCheckBox, "Applica regola panchina",
             "Abilita il controllo per cui è necessario inserire in panchina almeno un calciatore per ruolo");
    Describe(IfRegolaRigoristiCheckBox, "Applica regola portieri rigoristi",
             "Abilita il controllo dei portieri rigoristi secondo la regola ufficiale");
    Describe(IfPrimaveraCheckBox, "Visualizza presenze dei calciatori Primavera",
             "Nella tabella della rosa, visualizza presenze dei calciatori Primavera");
    Describe(IfTrequartistiCheckBox, "Abilita gestione trequartisti", "Abilita gestione dei trequartisti");
    IfTrequartistiCheckBox.SetEnabled(false);
}

EMailPage::EMailPage() {
    Describe(IfInviaEMailCheckBox, "Invia formazioni via e-mail",
             "Abilita l'invio delle e-mail delle formazioni al presidente di lega e ai fantallenatori");
    DescribeEdit(IfMittenteEMailEdit, "Indirizzo del mittente delle e-mail",
                 "Indirizzo utilizzato come mittente delle e-mail inviate");
    DescribeEdit(IfIndirizzoPresidenteEdit, "Indirizzo del presidente di lega",
                 "Indirizzo e-mail del presidente di lega, nel caso non sia un fantallenatore");
    Describe(IfIndirizzoPresidenteAutoCheckBox, "Auto");
    Describe(IfDestinatariGroupBox, "Destinatari");
    Describe(IfEMailPresidenteCheckBox, "Presidente di lega",
             "Invia e-mail della formazione al presidente di lega");
    Describe(IfEMailSeStessiCheckBox, "Se stessi", "Invia e-mail della formazione a se stessi");
    Describe(IfEMailAvversarioCheckBox, "Avversario",
             "Invia e-mail della formazione al fantallenatore avversario");
    Describe(IfEMailTuttiCheckBox, "Tutti i fantallenatori",
             "Invia e-mail della formazione a tutti i fantallenatori");
    Describe(IfEMailRidottaCheckBox, "Invia e-mail ridotta ai fantallenatori",
             "Ai fantallenatori invia una versione ridotta delle e-mail delle formazioni");
    Describe(IfServizioEMailLabel, "Servizio");
    IfServizioEMailComboBox.SetHint("Servizio da utilizzare per l'invio delle e-mail");
    DescribeEdit(IfSmtpHostEdit, "Server SMTP", "Nome host o indirizzo IP del server SMTP");
    Describe(IfSmtpPortaLabel, "Porta");
    IfSmtpPortaNumberBox.SetHint("Porta TCP del server SMTP");
    IfSmtpPortaNumberBox.SetValue(587);
    Describe(IfSmtpSicurezzaLabel, "Sicurezza");
    IfSmtpSicurezzaComboBox.SetHint("Protocollo di sicurezza utilizzato dal server SMTP");
    IfSmtpSicurezzaComboBox.SetItemIndex(1);
    DescribeEdit(IfSmtpUsernameEdit, "Nome utente", "Nome utente per l'autenticazione al server SMTP");
    DescribeEdit(IfSmtpPasswordEdit, "Password", "Password per l'autenticazione al server SMTP");
    IfSmtpPasswordEdit.SetPassword(true);
    DescribeEdit(IfBrevoApiKeyEdit, "API key", "API key associata al proprio account di Brevo");
    DescribeEdit(IfMailjetApiKeyEdit, "API key", "API key associata al proprio account di Mailjet");
    DescribeEdit(IfMailjetSecretKeyEdit, "Secret key", "Secret key associata al proprio account di Mailjet");
    DescribeEdit(IfSendGridApiKeyEdit, "API key", "API key associata al proprio account di SendGrid");
}

SalvataggioSitoPage::SalvataggioSitoPage() {
    Describe(IfSalvaSuSitoCheckBox, "Salva formazioni sul sito",
             "Abilita il salvataggio delle formazioni sul sito");
}

TelegramPage::TelegramPage() {
    Describe(IfInoltraATelegramCheckBox, "Inoltra formazioni a una chat di Telegram",
             "Abilita l'inoltro delle formazioni a un gruppo, supergruppo o canale di Telegram");
    DescribeEdit(IfTokenTelegramEdit, "Token di autenticazione del bot",
                 "Token di autenticazione del bot utilizzato come mittente delle formazioni");
    DescribeEdit(IfChatIdTelegramEdit, "Chat id",
                 "Chat id del gruppo, supergruppo o canale di Telegram a cui inoltrare le formazioni");
    Describe(IfModalitaTelegramLabel, "Modalità");
}

DateOrariPage::DateOrariPage() {
    Describe(EsportaDateOrariCheckBox, "Esporta date e orari d'inizio in un file JavaScript",
             "Esporta date e orari d'inizio delle partite di Serie A nel file js/fcmSerieADati.js");
    DoOrariEditor.SetHint("Data e orario d'inizio delle partite di Serie A");
    DoOrariEditor.SetValue("1a", "");  // the placeholder row; loading the settings fills all 38
    DoAggiornaButton.SetHint("Importa da un servizio esterno data e ora d'inizio delle partite di Serie A");
    DoImpostazioniButton.SetHint(
        "Configura la procedura d'importazione di data e ora d'inizio delle partite di Serie A");
}

BackupPage::BackupPage() {
    Describe(BackupCheckBox, "Abilita upload del backup",
             "Abilita la funzione di upload del backup di FCM sul sito");
    BackupCheckBox.SetChecked(true);
    Describe(BkSorgenteGroupBox, "Sorgente");
    Describe(BkUltimoCheckBox, "Ultimo backup", "Upload automatico dell'ultimo backup creato");
    Describe(BkSoloLegaCheckBox, "Solo file della lega",
             "Inserisce nell'archivio del backup solo i file della lega");
    BkDirEdit.SetHint("Seleziona la cartella del backup da caricare sul sito");
    BkDirEdit.SetReadOnly(true);
    BkDirEdit.SetHasButton(true);
    Describe(EsportazioneCheckBox, "Abilita upload dell'esportazione",
             "Abilita la funzione di upload del file di esportazione di FCM sul sito");
    EsportazioneCheckBox.SetChecked(true);
    Describe(EsSorgenteGroupBox, "Sorgente");
    EsFilenameEdit.SetHint("Seleziona il file di esportazione da caricare sul sito");
    EsFilenameEdit.SetReadOnly(true);
    EsFilenameEdit.SetHasButton(true);
    EsFilenameEdit.SetEnabled(false);
    DescribeEdit(BackupPasswordEdit, "Password degli archivi ZIP",
                 "Password con cui proteggere i file ZIP contenenti backup ed esportazione");
    BackupPasswordEdit.SetPassword(true);
    Describe(BackupNomiCasualiCheckBox, "Usa nomi casuali per i file degli archivi ZIP",
             "Usa nomi casuali per i file ZIP contenenti backup ed esportazione");
}

}  // namespace calvorin
