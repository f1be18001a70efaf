// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/SettingsKeys.h"

#include <string>
#include <utility>

#include "app/form/MainForm.h"
#include "platform/text/Trim.h"
#include "settings/IniFile.h"
#include "settings/StoredSecret.h"
#include "starttimes/ParseDateTime.h"

namespace calvorin {
namespace {

constexpr const char* kGenerale = "Generale";
constexpr const char* kInvio = "Invio formazione";
constexpr const char* kOrari = "Date e orari Serie A";
constexpr const char* kBackup = "Backup";

// The key's text, from the current key, else the older key, else nothing.
std::optional<std::string> Current(const IniFile& ini, const char* section, const char* key,
                                   const char* older, const char* olderSection = nullptr) {
    if (auto v = ini.ReadValue(section, key)) return v;
    if (older) return ini.ReadValue(olderSection ? olderSection : section, older);
    return std::nullopt;
}

SettingsKey Flag(const char* section, const char* key, bool def, CheckBox& box, const char* older = nullptr) {
    return {[=, &box](const IniFile& ini) {
                const char* from = ini.HasKey(section, key) || !older ? key : older;
                box.SetChecked(ini.ReadBool(section, from, def));
            },
            [=, &box](IniFile& ini) { ini.WriteBool(section, key, box.Checked()); }};
}

SettingsKey Text(const char* section, const char* key, const char* def, Edit& edit,
                 const char* older = nullptr) {
    return {[=, &edit](const IniFile& ini) { edit.SetText(Current(ini, section, key, older).value_or(def)); },
            [=, &edit](IniFile& ini) { ini.WriteString(section, key, Trim(edit.Text())); }};
}

SettingsKey Number(const char* section, const char* key, int def, NumberBox& box, int belowMinimum) {
    return {[=, &box](const IniFile& ini) {
                auto value = ini.ReadInteger(section, key, def);
                box.SetValue(value < box.Min() ? belowMinimum : value);
            },
            [=, &box](IniFile& ini) { ini.WriteInteger(section, key, box.Value()); }};
}

SettingsKey Secret(const char* section, const char* key, Edit& edit) {
    return {[=, &edit](const IniFile& ini) { edit.SetText(Trim(ReadSecret(ini, section, key, ""))); },
            [=, &edit](IniFile& ini) { WriteSecret(ini, section, key, Trim(edit.Text())); }};
}

SettingsKey Rule(std::function<void()> rule) {
    return {[rule = std::move(rule)](const IniFile&) { rule(); }, {}};
}

SettingsKey MailService(TMainForm& f) {
    auto& combo = f.EMail.IfServizioEMailComboBox;
    return {[&f, &combo](const IniFile& ini) {
                std::string id = ini.ReadString(kInvio, "Servizio invio e-mail", "");
                int index = 0;
                bool number = !id.empty() && id.find_first_not_of("0123456789") == std::string::npos;
                for (size_t i = 0; !number && i < f.EmailServiceIds.size(); ++i)
                    if (EqualsIgnoreAsciiCase(id, f.EmailServiceIds[i])) index = static_cast<int>(i);
                combo.SetItemIndex(index < static_cast<int>(combo.Items().size()) ? index : 0);
            },
            [&f, &combo](IniFile& ini) {
                int index = combo.ItemIndex();
                bool valid = index >= 0 && index < static_cast<int>(f.EmailServiceIds.size());
                ini.WriteString(kInvio, "Servizio invio e-mail", valid ? f.EmailServiceIds[index] : "");
            }};
}

SettingsKey SmtpSecurity(ComboBox& combo) {
    return {[&combo](const IniFile& ini) {
                auto value = ini.ReadInteger(kInvio, "Sicurezza SMTP", 1);
                combo.SetItemIndex(value < 0 || value >= static_cast<int>(combo.Items().size())
                                       ? 1
                                       : static_cast<int>(value));
            },
            [&combo](IniFile& ini) { ini.WriteInteger(kInvio, "Sicurezza SMTP", combo.ItemIndex()); }};
}

SettingsKey Mailjet(Edit& api, Edit& secret) {
    return {[&api, &secret](const IniFile& ini) {
                std::string joined = Trim(ReadSecret(ini, kInvio, "API key Mailjet", ""));
                size_t colon = joined.find(':');
                api.SetText(colon == std::string::npos ? "" : joined.substr(0, colon));
                secret.SetText(colon == std::string::npos ? "" : joined.substr(colon + 1));
            },
            [&api, &secret](IniFile& ini) {
                WriteSecret(ini, kInvio, "API key Mailjet", Trim(api.Text()) + ":" + Trim(secret.Text()));
            }};
}

SettingsKey TelegramMode(TMainForm& f) {
    auto& combo = f.Telegram.IfModalitaTelegramComboBox;
    return {[&combo](const IniFile& ini) {
                combo.SetItemIndex(
                    static_cast<int>(ini.ReadInteger(kInvio, "Modalità messaggio di Telegram", 0)));
            },
            [&f, &combo](IniFile& ini) {
                if (f.Context.Extended)
                    ini.WriteInteger(kInvio, "Modalità messaggio di Telegram", combo.ItemIndex());
            }};
}

SettingsKey StartTime(TMainForm& f, int n) {
    return {[&f, n](const IniFile& ini) {
                std::string key = "Orario " + MatchdayKey(n);
                std::string text = Current(ini, kOrari, key.c_str(), key.c_str(), kInvio)
                                       .value_or(std::string(DefaultStartTimeText(n)));
                ParseDateTime(Trim(text), DateTimeForm::Storage, f.Orari.OrariSerieA[n - 1]);
                f.DateOrari.DoOrariEditor.SetValue(MatchdayKey(n), f.Orari.OrariSerieA[n - 1].DisplayForm());
            },
            [&f, n](IniFile& ini) {
                ini.WriteString(kOrari, "Orario " + MatchdayKey(n), f.Orari.OrariSerieA[n - 1].StorageForm());
            }};
}

SettingsKey ServiceUrl(StartTimeTable& t) {
    return {[&t](const IniFile& ini) {
                t.UrlServizio = Trim(ini.ReadString(kOrari, "URL aggiornamento orari", DefaultServiceUrl()));
            },
            [&t](IniFile& ini) { ini.WriteString(kOrari, "URL aggiornamento orari", Trim(t.UrlServizio)); }};
}

SettingsKey AutoUpdate(StartTimeTable& t) {
    return {[&t](const IniFile& ini) {
                t.AggiornaAvvio = ini.ReadBool(kOrari, "Aggiorna orari all'avvio", false);
            },
            [&t](IniFile& ini) { ini.WriteBool(kOrari, "Aggiorna orari all'avvio", t.AggiornaAvvio); }};
}

SettingsKey LastManualEdit(StartTimeTable& t) {
    static constexpr const char* kKey = "Ultima modifica manuale orari";
    return {[&t](const IniFile& ini) {
                auto text = ini.ReadValue(kOrari, kKey);
                if (!text)
                    t.UltimaModificaManuale = *LocalDateTime::FromDate(2000, 1, 1);
                else
                    ParseDateTime(*text, DateTimeForm::Storage, t.UltimaModificaManuale);
            },
            [&t](IniFile& ini) {
                ini.WriteString(kOrari, kKey, t.UltimaModificaManuale.StorageFormWithSeconds());
            }};
}

SettingsKey BackupFolderKey(Edit& edit) {
    SettingsKey key = Text(kBackup, "Cartella backup", "", edit, "Nome file backup");
    auto load = key.load;
    key.load = [load, &edit](const IniFile& ini) {
        load(ini);
        edit.SetHint(edit.Text());
    };
    return key;
}

void AddLineupKeys(TMainForm& f, std::vector<SettingsKey>& keys) {
    auto& e = f.EMail;
    keys.insert(
        keys.end(),
        {
            Flag(kInvio, "Abilitato", true, f.InvioFormazione.InvioFormazioneCheckBox),
            Text(kInvio, "Percorso script server", "invform/invform.php",
                 f.InvioFormazione.IfScriptServerEdit, "URL script server"),
            Flag(kInvio, "Controllo orario", false, f.TermineInvio.IfControllaOrarioCheckBox),
            Number(kInvio, "Anticipo invio", 30, f.TermineInvio.IfAnticipoInvioNumberBox, 0),
            Flag(kInvio, "Disabilita modifica giornata", false, f.Interfaccia.IfDisabilitaGiornataCheckBox),
            Flag(kInvio, "Disabilita scelta incontri", false, f.Interfaccia.IfDisabilitaIncontriCheckBox),
            Flag(kInvio, "Nascondi comunicazioni", false, f.Interfaccia.IfNascondiComunicazioniCheckBox),
            Flag(kInvio, "Panchina ordinata", true, f.Regole.IfPanchinaOrdinataCheckBox),
            Flag(kInvio, "Regola panchina", true, f.Regole.IfRegolaPanchinaCheckBox),
            Flag(kInvio, "Regola rigoristi", true, f.Regole.IfRegolaRigoristiCheckBox),
            Flag(kInvio, "Primavera", false, f.Regole.IfPrimaveraCheckBox),
            Flag(kInvio, "Invia e-mail", true, e.IfInviaEMailCheckBox),
            Flag(kInvio, "Auto indirizzo e-mail presidente di lega", true,
                 e.IfIndirizzoPresidenteAutoCheckBox),
            Text(kInvio, "Indirizzo e-mail presidente di lega", "", e.IfIndirizzoPresidenteEdit),
            Text(kInvio, "Indirizzo e-mail mittente", "", e.IfMittenteEMailEdit),
            Flag(kInvio, "E-mail presidente di lega", true, e.IfEMailPresidenteCheckBox),
            Flag(kInvio, "E-mail avversario", true, e.IfEMailAvversarioCheckBox),
            Flag(kInvio, "E-mail tutti i fantallenatori", false, e.IfEMailTuttiCheckBox,
                 "E-mail tutti i presidenti"),
            Flag(kInvio, "E-mail fantallenatore squadra", true, e.IfEMailSeStessiCheckBox,
                 "E-mail presidente squadra"),
            Flag(kInvio, "E-mail ridotta", true, e.IfEMailRidottaCheckBox),
            MailService(f),
            Text(kInvio, "Host SMTP", "", e.IfSmtpHostEdit),
            Number(kInvio, "Porta SMTP", 587, e.IfSmtpPortaNumberBox, 587),
            SmtpSecurity(e.IfSmtpSicurezzaComboBox),
            Text(kInvio, "Username SMTP", "", e.IfSmtpUsernameEdit),
            Secret(kInvio, "Password SMTP", e.IfSmtpPasswordEdit),
            Secret(kInvio, "API key Brevo", e.IfBrevoApiKeyEdit),
            Mailjet(e.IfMailjetApiKeyEdit, e.IfMailjetSecretKeyEdit),
            Secret(kInvio, "API key SendGrid", e.IfSendGridApiKeyEdit),
            Flag(kInvio, "Salva su sito", true, f.SalvataggioSito.IfSalvaSuSitoCheckBox, "Salva formazione"),
            Flag(kInvio, "Inoltra a Telegram", false, f.Telegram.IfInoltraATelegramCheckBox),
            Secret(kInvio, "Token autenticazione di Telegram", f.Telegram.IfTokenTelegramEdit),
            Text(kInvio, "Chat id di Telegram", "", f.Telegram.IfChatIdTelegramEdit),
            TelegramMode(f),
            Rule([&f] { f.InvioFormazioneCheckBoxClick(); }),
        });
}

void AddStartTimeKeys(TMainForm& f, std::vector<SettingsKey>& keys) {
    for (int n = 1; n <= kMatchdays; ++n) keys.push_back(StartTime(f, n));
    keys.insert(keys.end(), {
                                Flag(kOrari, "Esporta orari", false, f.DateOrari.EsportaDateOrariCheckBox),
                                ServiceUrl(f.Orari),
                                AutoUpdate(f.Orari),
                                LastManualEdit(f.Orari),
                            });
}

void AddBackupKeys(TMainForm& f, std::vector<SettingsKey>& keys) {
    auto& b = f.Backup;
    keys.insert(keys.end(),
                {
                    Flag(kBackup, "Upload backup abilitato", true, b.BackupCheckBox, "Backup abilitato"),
                    Flag(kBackup, "Ultimo backup", true, b.BkUltimoCheckBox),
                    Flag(kBackup, "Backup solo dei file della lega", false, b.BkSoloLegaCheckBox),
                    BackupFolderKey(b.BkDirEdit),
                    Flag(kBackup, "Upload esportazione abilitato", true, b.EsportazioneCheckBox,
                         "Esportazione abilitato"),
                    Text(kBackup, "File esportazione", "", b.EsFilenameEdit, "Nome file esportazione"),
                    Secret(kBackup, "Password", b.BackupPasswordEdit),
                    Flag(kBackup, "Nomi casuali", true, b.BackupNomiCasualiCheckBox),
                    Rule([&f] {
                        f.BackupCheckBoxClick();
                        f.EsportazioneCheckBoxClick();
                    }),
                });
}

}  // namespace

std::vector<SettingsKey> SettingsKeys(TMainForm& form) {
    std::vector<SettingsKey> keys;
    if (form.Context.Extended)
        keys.push_back(Flag(kGenerale, "Disabilita creazione fcmVariabiliCalvorin.js", false,
                            form.Generale.gnDisabilitaJsVariabiliCheckBox));
    AddLineupKeys(form, keys);
    AddStartTimeKeys(form, keys);
    AddBackupKeys(form, keys);
    return keys;
}

bool HoldsSettings(const IniFile& ini) {
    for (const char* section : {kGenerale, kInvio, kOrari, kBackup})
        if (ini.HasSection(section)) return true;
    return false;
}

}  // namespace calvorin
