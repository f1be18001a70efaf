// SPDX-License-Identifier: GPL-3.0-or-later
// FCM under Wine with the Windows build as its plug-in: the stand-in starts Calvorin.exe with Windows paths
// through a folder with an accent, and the site it writes is the Linux build's, read by the site's real
// consumers.
#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/fs/Files.h"
#include "platform/text/Encoding.h"
#include "settings/IniFile.h"
#include "settings/StoredSecret.h"
#include "support/Command.h"
#include "support/TempDir.h"
#include "wine/FcmUnderWine.h"

namespace calvorin::test {
namespace {

namespace fs = std::filesystem;

using WindowsBuildUnderWine = FcmUnderWine;

// The folder of drive C: the demo is laid out in: the president's own, with an accent.
constexpr const char* kFolder = "Città";
constexpr const char* kArchivePassword = "demo-password";  // the demo settings'

// What a run leaves in the site and FCM's plugin folder, copied aside before the next run.
struct SiteFiles {
    std::map<std::string, std::string> files;              // below the site: name -> bytes
    std::map<std::string, std::vector<std::string>> zips;  // archive kind -> "entry: bytes" lines
    std::string settings;                                  // the settings file
};

// Every entry of a protected archive with its contents, through Info-ZIP.
std::vector<std::string> ArchiveContents(const fs::path& zip) {
    auto listed = RunCommand("unzip -Z1 " + ShellQuote(zip), Capture::StdoutOnly);
    EXPECT_EQ(listed.exitCode, 0) << zip << listed.output;
    std::vector<std::string> contents;
    for (const std::string& entry : SplitLines(listed.output)) {
        if (entry.empty()) continue;
        auto bytes = RunCommand(
            "unzip -p -P " + std::string(kArchivePassword) + " " + ShellQuote(zip) + " " + ShellQuote(entry),
            Capture::StdoutOnly);
        EXPECT_EQ(bytes.exitCode, 0) << zip << " " << entry;
        contents.push_back(entry + ": " + bytes.output);
    }
    std::sort(contents.begin(), contents.end());
    return contents;
}

SiteFiles Collect(const fs::path& site, const fs::path& settings) {
    SiteFiles out;
    for (const char* file : {"js/fcmInvioFormazioneDati.js", "invform/invform.inc.php", "js/fcmSerieADati.js",
                             "js/fcmVariabiliCalvorin.js"})
        out.files[file] = ReadText(site / file);
    for (const auto& entry : fs::directory_iterator(site / "backup")) {
        const std::string name = PathText(entry.path().filename());
        const std::string kind = name.substr(0, name.find('_'));  // FcmBackup, FcmExport
        EXPECT_TRUE(out.zips.emplace(kind, ArchiveContents(entry.path())).second) << name;
    }
    out.settings = ReadText(settings);
    return out;
}

// The PHP file but for its password hashes, whose salts are random.
std::string WithoutHashes(const std::string& php) {
    std::string out;
    for (const std::string& line : SplitLines(php))
        out += (line.find("'$5$") != std::string::npos ? line.substr(0, line.find("'$5$")) : line) + "\n";
    return out;
}

}  // namespace

TEST_F(WindowsBuildUnderWine, BatchRunWritesTheLinuxBuildsSiteThroughAnAccentedFolder) {
    LayOutDemo(Plugin::WindowsBuild, kFolder);
    const std::string site = "/c=" + WindowsRoot() + R"(\Sito)";
    WineRun windows = RunPlugin({LeagueArgument(), "/s=x", site, "/batch"});
    ASSERT_EQ(windows.wineCode, 0) << windows.output;
    EXPECT_NE(windows.output.find("Procedura terminata con successo"), std::string::npos) << windows.output;
    const SiteFiles fromWindows = Collect(Site(), SettingsFile());

    // The Windows build's files, read by the site's real consumers.
    auto node = NodeRunsTheSiteScripts(Site() / "js");
    EXPECT_EQ(node.exitCode, 0) << node.output;
    auto php = RunCommand(
        "php -r " +
        ShellQuote(
            "include $argv[1]; $n = 0;"
            "foreach (file($argv[2], FILE_IGNORE_NEW_LINES | FILE_SKIP_EMPTY_LINES) as $line) {"
            "  [$id, $pw] = explode(' ', $line, 2);"
            "  if (!password_verify($pw, $passwords[(int)$id])) { echo \"bad $id\\n\"; exit(1); } $n++; }"
            "echo \"verified $n\\n\";") +
        " " + ShellQuote(Site() / "invform" / "invform.inc.php") + " " +
        ShellQuote(Root() / "passwords.txt"));
    EXPECT_EQ(php.exitCode, 0) << php.output;
    EXPECT_EQ(php.output.find("verified 0"), std::string::npos) << php.output;
    for (const auto& entry : fs::directory_iterator(Site() / "backup")) {
        auto test =
            RunCommand("unzip -tqq -P " + std::string(kArchivePassword) + " " + ShellQuote(entry.path()));
        EXPECT_EQ(test.exitCode, 0) << entry.path() << test.output;
        auto sevenZip =
            RunCommand("7z t -p" + std::string(kArchivePassword) + " " + ShellQuote(entry.path()));
        EXPECT_EQ(sevenZip.exitCode, 0) << entry.path() << sevenZip.output;
    }

    // The same league, settings and folder through the Linux build.
    LayOutDemo(Plugin::LinuxBuild, kFolder);
    WineRun native = RunPlugin({LeagueArgument(), "/s=x", site, "/batch"});
    ASSERT_EQ(native.nativeCode, 0) << native.output;
    const SiteFiles fromLinux = Collect(Site(), SettingsFile());

    for (const auto& [name, bytes] : fromLinux.files) {
        const std::string& other = fromWindows.files.at(name);
        if (name.ends_with(".php")) {
            EXPECT_EQ(WithoutHashes(other), WithoutHashes(bytes)) << name;
        } else {
            EXPECT_EQ(other, bytes) << name;
        }
    }
    EXPECT_EQ(fromWindows.zips, fromLinux.zips) << "the archives hold the same files, byte for byte";
    ASSERT_EQ(fromWindows.zips.size(), 2U);

    // The settings: the same keys and values, the secrets the same once decrypted, whichever build wrote
    // them.
    const fs::path scratch = Prefix() / "settings-from-windows.ini";
    WriteBytes(scratch, fromWindows.settings);
    IniFile windowsIni = IniFile::Load(scratch);
    IniFile linuxIni = IniFile::Load(SettingsFile());
    for (const auto& [section, key] : std::vector<std::pair<const char*, const char*>>{
             {"Backup", "Password"}, {"Invio formazione", "Password SMTP"}}) {
        EXPECT_TRUE(windowsIni.HasKey(section, key)) << key;
        EXPECT_EQ(ReadSecret(windowsIni, section, key, ""), ReadSecret(linuxIni, section, key, "")) << key;
    }
    EXPECT_EQ(ReadSecret(windowsIni, "Backup", "Password", ""), kArchivePassword);
    EXPECT_EQ(windowsIni.ReadString("Backup", "Cartella backup", ""),
              linuxIni.ReadString("Backup", "Cartella backup", ""));
    EXPECT_EQ(windowsIni.ReadString("Backup", "File esportazione", ""),
              linuxIni.ReadString("Backup", "File esportazione", ""));
}

TEST_F(WindowsBuildUnderWine, MissingDriveAndAHeldFileEndTheRunWithAnItalianReason) {
    LayOutDemo(Plugin::WindowsBuild, kFolder);
    WineRun drive = RunPlugin({LeagueArgument(), "/s=x", R"(/c=Q:\Sito)", "/batch"});
    EXPECT_EQ(drive.wineCode, 2) << drive.output;
    EXPECT_NE(drive.output.find("Impossibile creare il file \"Q:\\Sito\\js\\"), std::string::npos)
        << drive.output;
    EXPECT_NE(drive.output.find("Operazione annullata"), std::string::npos) << drive.output;

    // A file held open without leave to delete it cannot be replaced: after a few seconds of retrying,
    // the step fails with the reason and the file stays as it was.
    const std::string site = "/c=" + WindowsRoot() + R"(\Sito)";
    ASSERT_EQ(RunPlugin({LeagueArgument(), "/s=x", site, "/batch"}).wineCode, 0);
    const fs::path php = Site() / "invform" / "invform.inc.php";
    const std::string before = ReadText(php);
    std::vector<std::string> holding = {"/hold=" + WindowsRoot() + R"(\Sito\invform\invform.inc.php)"};
    WineRun held = RunPlugin({LeagueArgument(), "/s=x", site, "/batch"}, {}, holding);
    EXPECT_EQ(held.wineCode, 2) << held.output;
    EXPECT_NE(held.output.find("Impossibile sostituire il file \"" + WindowsRoot() +
                               R"(\Sito\invform\invform.inc.php")"),
              std::string::npos)
        << held.output;
    EXPECT_EQ(ReadText(php), before);
    for (const auto& entry : fs::directory_iterator(Site() / "invform"))
        EXPECT_FALSE(PathText(entry.path().filename()).starts_with("."))
            << "temporary left: " << entry.path();
}

}  // namespace calvorin::test
