// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/HostSettings.h"

#include <gtest/gtest.h>

#include "platform/text/Encoding.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

struct Case {
    const char* name;
    std::optional<std::string> fcmIni;  // file contents (UTF-8 text), nothing for no file
    const char* backupFolder;
    const char* exportFolder;
};

const Case kCases[] = {
    {"missing file", std::nullopt, "", ""},
    {"no section", "BackupCartella=C:\\FCM\\Backup\r\n", "", ""},
    {"first section, any name",
     "[Impostazioni]\r\nBackupCartella=C:\\FCM\\Backup\r\nEsportazioniLegaCartella=D:\\Esp\r\n",
     "C:\\FCM\\Backup", "D:\\Esp"},
    {"other letter case", "[x]\r\nbackupcartella=B\r\nESPORTAZIONILEGACARTELLA=E\r\n", "B", "E"},
    {"only in the second section", "[Uno]\r\nAltro=1\r\n[Due]\r\nBackupCartella=B\r\n", "", ""},
    {"line above every section", "BackupCartella=B\r\n[Uno]\r\nEsportazioniLegaCartella=E\r\n", "", "E"},
    {"blanks around", "[Uno]\r\n  BackupCartella =  C:\\FCM\\Backup  \r\n", "C:\\FCM\\Backup", ""},
    {"folder that does not exist", "[Uno]\r\nBackupCartella=/nowhere/at/all\r\n", "/nowhere/at/all", ""},
};

TEST(HostSettings, ReadsBothFoldersFromTheFirstSection) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        PluginContext context;
        context.FcmFolder = dir.path().string();
        if (c.fcmIni) test::WriteBytes(dir / "FCM.ini", Utf8ToCp1252(*c.fcmIni));
        MemoryLogSink sink;
        Log log(sink);
        LoadHostSettings(context, log);
        EXPECT_EQ(context.BackupFolder, c.backupFolder);
        EXPECT_EQ(context.ExportFolder, c.exportFolder);
        std::string expectedLog = "\n• Caricamento impostazioni di FCM\n";
        if (c.fcmIni) expectedLog += "  " + (dir / "FCM.ini").string() + "\n";
        EXPECT_EQ(sink.Text(), expectedLog);
    }
}

TEST(HostSettings, UnicodeFileWithAccentedFolder) {
    test::TempDir dir;
    PluginContext context;
    context.FcmFolder = dir.path().string();
    test::WriteBytes(dir / "FCM.ini",
                     EncodeText("[FCM]\r\nBackupCartella=C:\\Città\\Backup\r\n", TextEncoding::Utf16Le));
    MemoryLogSink sink;
    Log log(sink);
    LoadHostSettings(context, log);
    EXPECT_EQ(context.BackupFolder, "C:\\Città\\Backup");
}

}  // namespace
}  // namespace calvorin
