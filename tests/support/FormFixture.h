// SPDX-License-Identifier: GPL-3.0-or-later
// A main window model over a throw-away FCM folder and site, with a recording desktop and an in-memory log.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/form/MainForm.h"
#include "platform/fs/Files.h"
#include "support/FakeDesktop.h"
#include "support/TempDir.h"

namespace calvorin::test {

// Lays out <tmp>/città/FCM/Leghe/<league>.db (an empty file: there, but no league),
// <tmp>/città/Sito/{js,invform} and an empty plugin folder: every path the window handles holds an accented
// letter, as many Italian users' do.
struct FormFixture {
    // `transport` replaces the default one that refuses every request.
    explicit FormFixture(std::string leagueBaseName = "Lega-1-2025", const char* extended = nullptr,
                         HttpTransport* transport = nullptr)
        : form({desktop, log, transport ? *transport : http, [this] { return now; }}) {
        std::filesystem::create_directories(Fcm() / "Leghe");
        std::filesystem::create_directories(Site() / "js");
        std::filesystem::create_directories(Site() / "invform");
        leagueFile = PathText(Fcm() / "Leghe" / Utf8Path(leagueBaseName + ".db"));
        WriteFileAtomic(PathFromText(leagueFile), "");
        created = form.FormCreate({"/l=" + leagueFile, "/s=x", "/c=" + PathText(Site())}, extended);
        form.ProgramFolder = PathText(Root() / "programma");
    }

    // Every feature off but the start-time export: a run that needs no league.
    void StartTimeExportOnly() {
        form.InvioFormazione.InvioFormazioneCheckBox.SetChecked(false);
        form.Backup.BackupCheckBox.SetChecked(false);
        form.Backup.EsportazioneCheckBox.SetChecked(false);
        form.DateOrari.EsportaDateOrariCheckBox.SetChecked(true);
    }

    std::filesystem::path Root() const { return dir / "città"; }
    std::filesystem::path Fcm() const { return Root() / "FCM"; }
    std::filesystem::path Site() const { return Root() / "Sito"; }
    std::filesystem::path SettingsFile() const { return PathFromText(form.SettingsFilePath()); }

    TempDir dir;
    FakeDesktop desktop;
    NoNetwork http;
    MemoryLogSink sink;
    Log log{sink, [this] { desktop.ProcessPendingEvents(); }};
    LocalDateTime now = *LocalDateTime::FromParts({2025, 9, 1, 12, 30, 15});
    TMainForm form;
    std::string leagueFile;
    bool created = false;
};

}  // namespace calvorin::test
