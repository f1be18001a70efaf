// SPDX-License-Identifier: GPL-3.0-or-later
// The demo league's Calvorin settings file, with every feature switched on.
#include "tools/demo/DemoSettings.h"

#include <cstdio>

#include "settings/IniFile.h"
#include "settings/StoredSecret.h"
#include "starttimes/LocalDateTime.h"

namespace calvorin::demo {

namespace {

constexpr const char* kLineup = "Invio formazione";
constexpr const char* kStartTimes = "Date e orari Serie A";
constexpr const char* kBackup = "Backup";

void WriteLineup(IniFile& ini) {
    ini.WriteBool(kLineup, "Abilitato", true);
    ini.WriteString(kLineup, "Percorso script server", "invform/invform.php");
    ini.WriteBool(kLineup, "Controllo orario", true);
    ini.WriteInteger(kLineup, "Anticipo invio", 30);
    ini.WriteBool(kLineup, "Primavera", true);
    ini.WriteBool(kLineup, "Invia e-mail", true);
    ini.WriteBool(kLineup, "Auto indirizzo e-mail presidente di lega", true);
    ini.WriteString(kLineup, "Indirizzo e-mail mittente", "fantalega@fantalega.example");
    ini.WriteBool(kLineup, "E-mail presidente di lega", true);
    ini.WriteString(kLineup, "Servizio invio e-mail", "smtp");
    ini.WriteString(kLineup, "Host SMTP", "smtp.fantalega.example");
    ini.WriteInteger(kLineup, "Porta SMTP", 587);
    ini.WriteInteger(kLineup, "Sicurezza SMTP", 1);
    ini.WriteString(kLineup, "Username SMTP", "fantalega@fantalega.example");
    WriteSecret(ini, kLineup, "Password SMTP", "smtp-demo-password");
    ini.WriteBool(kLineup, "Salva su sito", true);
    ini.WriteBool(kLineup, "Inoltra a Telegram", false);
}

// Saturday evenings from 23 August 2025, one matchday a week.
void WriteStartTimes(IniFile& ini) {
    const LocalDateTime first = *LocalDateTime::FromParts({2025, 8, 23, 18, 30, 0});
    for (int n = 1; n <= 38; ++n) {
        const auto start = LocalDateTime::FromSeconds(first.SecondsSinceEpoch() + (n - 1) * 7LL * 24 * 3600);
        ini.WriteString(kStartTimes, "Orario " + std::to_string(n) + "a", start.StorageForm());
    }
    ini.WriteBool(kStartTimes, "Esporta orari", true);
    ini.WriteBool(kStartTimes, "Aggiorna orari all'avvio", false);
}

void WriteBackup(IniFile& ini, const DemoPaths& p) {
    ini.WriteBool(kBackup, "Upload backup abilitato", true);
    ini.WriteBool(kBackup, "Ultimo backup", true);
    ini.WriteBool(kBackup, "Backup solo dei file della lega", false);
    ini.WriteString(kBackup, "Cartella backup", PathText(p.latestBackup));
    ini.WriteBool(kBackup, "Upload esportazione abilitato", true);
    ini.WriteString(kBackup, "File esportazione", PathText(p.exportFile));
    WriteSecret(ini, kBackup, "Password", "demo-password");
    ini.WriteBool(kBackup, "Nomi casuali", true);
}

}  // namespace

void WriteDemoSettings(const DemoPaths& paths) {
    IniFile ini = IniFile::Parse("");
    WriteLineup(ini);
    WriteStartTimes(ini);
    WriteBackup(ini, paths);
    ini.Save(paths.pluginSettings);
}

}  // namespace calvorin::demo
