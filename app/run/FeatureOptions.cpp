// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run/FeatureOptions.h"

#include "app/form/MainForm.h"

namespace calvorin {

LineupOptions LineupOptionsFromForm(const TMainForm& f) {
    const auto& e = f.EMail;
    const auto& t = f.Telegram;
    LineupOptions o;
    o.scriptServer = f.InvioFormazione.IfScriptServerEdit.Text();
    o.controllaOrario = f.TermineInvio.IfControllaOrarioCheckBox.Checked();
    o.anticipoInvio = f.TermineInvio.IfAnticipoInvioNumberBox.Value();
    o.panchinaOrdinata = f.Regole.IfPanchinaOrdinataCheckBox.Checked();
    o.regolaRigoristi = f.Regole.IfRegolaRigoristiCheckBox.Checked();
    o.regolaPanchina = f.Regole.IfRegolaPanchinaCheckBox.Checked();
    o.primavera = f.Regole.IfPrimaveraCheckBox.Checked();
    o.disabilitaGiornata = f.Interfaccia.IfDisabilitaGiornataCheckBox.Checked();
    o.disabilitaIncontri = f.Interfaccia.IfDisabilitaIncontriCheckBox.Checked();
    o.nascondiComunicazioni = f.Interfaccia.IfNascondiComunicazioniCheckBox.Checked();
    o.inviaEMail = e.IfInviaEMailCheckBox.Checked();
    o.eMailPresidente = e.IfEMailPresidenteCheckBox.Checked();
    o.eMailAvversario = e.IfEMailAvversarioCheckBox.Checked();
    o.eMailTutti = e.IfEMailTuttiCheckBox.Checked();
    o.eMailSeStessi = e.IfEMailSeStessiCheckBox.Checked();
    o.eMailRidotta = e.IfEMailRidottaCheckBox.Checked();
    o.indirizzoPresidenteAuto = e.IfIndirizzoPresidenteAutoCheckBox.Checked();
    o.indirizzoPresidente = e.IfIndirizzoPresidenteEdit.Text();
    o.mittenteEMail = e.IfMittenteEMailEdit.Text();
    int service = e.IfServizioEMailComboBox.ItemIndex();
    o.servizioEMail = service < 0 ? 0 : service;
    o.servizioEMailId = f.EmailServiceIds[o.servizioEMail];
    o.smtpHost = e.IfSmtpHostEdit.Text();
    o.smtpPorta = e.IfSmtpPortaNumberBox.Value();
    o.smtpSicurezza = e.IfSmtpSicurezzaComboBox.ItemIndex() < 0 ? 1 : e.IfSmtpSicurezzaComboBox.ItemIndex();
    o.smtpUsername = e.IfSmtpUsernameEdit.Text();
    o.smtpPassword = e.IfSmtpPasswordEdit.Text();
    o.brevoApiKey = e.IfBrevoApiKeyEdit.Text();
    o.mailjetApiKey = e.IfMailjetApiKeyEdit.Text();
    o.mailjetSecretKey = e.IfMailjetSecretKeyEdit.Text();
    o.sendGridApiKey = e.IfSendGridApiKeyEdit.Text();
    o.salvaSuSito = f.SalvataggioSito.IfSalvaSuSitoCheckBox.Checked();
    o.inoltraATelegram = t.IfInoltraATelegramCheckBox.Checked();
    o.tokenTelegram = t.IfTokenTelegramEdit.Text();
    o.chatIdTelegram = t.IfChatIdTelegramEdit.Text();
    o.modalitaTelegram = t.IfModalitaTelegramComboBox.ItemIndex();
    o.orariSerieA = f.Orari.OrariSerieA;
    return o;
}

ArchiveOptions ArchiveOptionsFromForm(const TMainForm& f) {
    const auto& b = f.Backup;
    ArchiveOptions o;
    o.backupEnabled = b.BackupCheckBox.Checked();
    o.soloLega = b.BkSoloLegaCheckBox.Checked();
    o.backupFolder = b.BkDirEdit.Text();
    o.exportEnabled = b.EsportazioneCheckBox.Checked();
    o.exportFile = b.EsFilenameEdit.Text();
    o.password = b.BackupPasswordEdit.Text();
    o.randomNames = b.BackupNomiCasualiCheckBox.Checked();
    return o;
}

RunPlan RunPlanFromForm(TMainForm& f) {
    RunPlan plan;
    if (f.InvioFormazione.InvioFormazioneCheckBox.Checked()) plan.lineup = LineupOptionsFromForm(f);
    if (f.DateOrari.EsportaDateOrariCheckBox.Checked()) plan.startTimes = f.Orari.OrariSerieA;
    if (f.Backup.BackupCheckBox.Checked() || f.Backup.EsportazioneCheckBox.Checked())
        plan.archives = ArchiveOptionsFromForm(f);
    plan.variablesFile = !(f.Context.Extended && f.Generale.gnDisabilitaJsVariabiliCheckBox.Checked());
    plan.settings = f.SettingsSnapshot();
    return plan;
}

}  // namespace calvorin
