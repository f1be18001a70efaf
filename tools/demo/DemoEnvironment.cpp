// SPDX-License-Identifier: GPL-3.0-or-later
// Lays out a complete FCM environment around a demo league: FCM's folder, backups, export and website.
#include "tools/demo/DemoEnvironment.h"

#include "platform/fs/Files.h"
#include "platform/text/Encoding.h"
#include "tools/demo/DemoNames.h"
#include "tools/demo/DemoSettings.h"
#include "tools/demo/LeagueSchema.h"

namespace calvorin::demo {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLeagueBase = "Fantalega-1-2025";
constexpr const char* kBackups[] = {"FCMBKP20250914-2215", "FCMBKP20251005-2340", "FCMBKP20251102-2305"};

// FCM writes its text files in Windows-1252 with CR LF.
void WriteAnsi(const fs::path& file, const std::vector<std::string>& lines) {
    fs::create_directories(file.parent_path());
    WriteFileAtomic(file, Utf8ToCp1252(JoinCrlf(lines)));
}

void WriteFcmIni(const DemoPaths& p) {
    WriteAnsi(
        p.fcmFolder / "FCM.ini",
        {"[Generale]", "BackupCartella=" + PathText(p.fcmFolder / "Backup"),
         "EsportazioniLegaCartella=" + PathText(p.fcmFolder / "Esportazioni"),
         "UltimaLega=" + PathText(p.leagueFile), "AzzurroSeMaggioreDiAtta=7,5", "VerdeSeMaggioreDiAtta=8,5",
         "RossoSeMinoreDiAtta=5,5", "MVVerdeSeMaggioreDiCent=6,3", "FMAzzurroSeMaggioreDiPort=5,75",
         "FMRossoSeMinoreDiPort=5,5", "", "[Finestra]", "Larghezza=1280", "Altezza=800"});
}

void WriteBackups(const DemoPaths& p) {
    const std::string league = ReadFileBytes(p.leagueFile);
    for (const char* name : kBackups) {
        const fs::path folder = p.fcmFolder / "Backup" / name;
        fs::create_directories(folder);
        WriteFileAtomic(folder / p.leagueFile.filename(), league);
        WriteFileAtomic(folder / (std::string(kLeagueBase) + ".log"), "Backup della lega\r\n");
        WriteFileAtomic(folder / "ArchivioA2025.db", "Archivio giocatori di Serie A 2025\r\n");
        WriteFileAtomic(folder / "ArchivioA2025-foto.dat", std::string(256, '\x5A'));
        WriteFileAtomic(folder / "Amichevoli-1-2025.db", "Altra lega\r\n");
        WriteFileAtomic(folder / "FCM.ini", ReadFileBytes(p.fcmFolder / "FCM.ini"));
    }
}

void WriteExport(const DemoPaths& p, const DemoLeague& league) {
    std::vector<std::string> lines = {"[Esportazione]", "Lega=" + league.data.lega.front(), "Stagione=2025"};
    for (const auto& team : league.data.fantasquadre)
        lines.push_back("Squadra" + std::to_string(team.id) + "=" + team.nome);
    WriteAnsi(p.exportFile, lines);
}

// FCM's own data files of the site; Calvorin appends to the first and counts the lines of the others.
void WriteSite(const DemoPaths& p, const DemoLeague& league) {
    std::vector<std::string> serieA = {"// fcmSerieADati.js - generato da Fantacalcio Manager",
                                       "var squadreA=new Array()", "a=squadreA"};
    const auto& clubs = SerieAClubNames();
    for (std::size_t c = 0; c < clubs.size(); ++c)
        serieA.push_back("a[" + std::to_string(c + 1) + "]=\"" + clubs[c] + "\"");
    serieA.push_back("var giornataA=" + std::to_string(league.data.giornate.size()));
    WriteAnsi(p.siteFolder / "js" / "fcmSerieADati.js", serieA);
    WriteAnsi(p.siteFolder / "js" / "fcmDocumentiDati.js",
              {"var documenti=new Array()", "a=documenti", R"(a[1]=new Doc("Regolamento","regolamento.pdf"))",
               R"(a[2]=new Doc("Calendario","calendario.pdf"))"});
    WriteAnsi(p.siteFolder / "js" / "fcmQueryDati.js", {"var query=new Array()", "a=query"});
    fs::create_directories(p.siteFolder / "invform");
}

void WritePasswords(const DemoPaths& p, const DemoLeague& league) {
    std::vector<std::string> lines;
    for (const auto& [team, password] : league.passwords)
        lines.push_back(std::to_string(team) + " " + password);
    fs::create_directories(p.passwords.parent_path());
    WriteFileAtomic(p.passwords, JoinCrlf(lines));
}

}  // namespace

DemoPaths DemoLayout(const fs::path& root, LeagueFormat format) {
    const fs::path abs = fs::absolute(root).lexically_normal();
    DemoPaths p;
    p.fcmFolder = abs / "FCM";
    p.leagueFile = p.fcmFolder / "Leghe" /
                   (std::string(kLeagueBase) + (format == LeagueFormat::Access ? ".mdb" : ".db"));
    p.siteFolder = abs / "Sito";
    p.exportFile = p.fcmFolder / "Esportazioni" / (std::string(kLeagueBase) + ".exp");
    p.latestBackup = p.fcmFolder / "Backup" / kBackups[std::size(kBackups) - 1];
    p.pluginSettings = p.fcmFolder / "plugin" / ("Calvorin_" + std::string(kLeagueBase) + ".ini");
    p.passwords = abs / "passwords.txt";
    return p;
}

DemoPaths WriteDemoEnvironment(const fs::path& root, const DemoLeague& league, LeagueFormat format) {
    DemoPaths p = DemoLayout(root, format);
    fs::create_directories(p.leagueFile.parent_path());
    fs::create_directories(p.pluginSettings.parent_path());
    if (format == LeagueFormat::Access)
        WriteLeagueMdb(league.data, p.leagueFile);
    else
        WriteLeagueSqlite(league.data, p.leagueFile);
    WriteFcmIni(p);
    WriteBackups(p);
    WriteExport(p, league);
    WriteSite(p, league);
    WritePasswords(p, league);
    WriteDemoSettings(p);
    return p;
}

std::string LaunchArguments(const DemoPaths& p) {
    return "/l=" + PathText(p.leagueFile) + " /s=demo /c=" + PathText(p.siteFolder);
}

}  // namespace calvorin::demo
