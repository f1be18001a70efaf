// SPDX-License-Identifier: GPL-3.0-or-later
// FCM under Wine with the Linux build as its plug-in: a Windows stand-in for FCM starts the native program
// with Windows paths, as FCM does.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/fs/Files.h"
#include "settings/IniFile.h"
#include "support/Command.h"
#include "wine/FcmUnderWine.h"

namespace calvorin::test {
namespace {

namespace fs = std::filesystem;

// The Linux build as FCM's plug-in.
using LinuxBuildUnderWine = FcmUnderWine;

TEST_F(LinuxBuildUnderWine, BatchRunWritesTheSiteAndKeepsWindowsPathsInTheSettings) {
    LayOutDemo(Plugin::LinuxBuild);
    const fs::path site = Site();
    const std::string before = ReadText(site / "js" / "fcmSerieADati.js");
    WineRun run = RunPlugin({LeagueArgument(), "/s=x", R"(/c=c:\fantacalcio\SITO)", "/batch"});
    EXPECT_EQ(run.wineCode, 0) << run.output;
    ASSERT_EQ(run.nativeCode, 0) << run.output;

    for (const char* file :
         {"js/fcmInvioFormazioneDati.js", "invform/invform.inc.php", "js/fcmVariabiliCalvorin.js"})
        EXPECT_GT(fs::file_size(site / file), 100U) << file;
    EXPECT_NE(ReadText(site / "js" / "fcmSerieADati.js"), before);
    std::vector<std::string> archives;
    for (const auto& entry : fs::directory_iterator(site / "backup"))
        archives.push_back(entry.path().filename());
    std::sort(archives.begin(), archives.end());
    ASSERT_EQ(archives.size(), 2U);
    EXPECT_TRUE(archives[0].starts_with("FcmBackup_")) << archives[0];
    EXPECT_TRUE(archives[1].starts_with("FcmExport_")) << archives[1];
    // The backup archive holds the league file of the latest backup, found through FCM.ini's Windows path.
    auto listed = RunCommand("unzip -l " + ShellQuote(site / "backup" / archives[0]));
    EXPECT_NE(listed.output.find("Fantalega-1-2025.mdb"), std::string::npos) << listed.output;

    // Nothing was created beside the existing folders under the other case of their names.
    EXPECT_FALSE(fs::exists(DriveC() / "FANTACALCIO"));
    EXPECT_FALSE(fs::exists(Root() / "SITO"));

    // The log names files as the president knows them.
    for (const std::string shown :
         {R"(C:\FANTACALCIO\FCM\FCM.ini)", R"(C:\FANTACALCIO\FCM\plugin\Calvorin_fantalega-1-2025.ini)",
          R"(c:\fantacalcio\SITO\backup\FcmBackup_)"})
        EXPECT_NE(run.output.find(shown), std::string::npos) << shown << "\n" << run.output;

    // The settings keep the Windows form, so the same file serves FCM on Windows.
    IniFile saved = IniFile::Load(SettingsFile());
    EXPECT_EQ(saved.ReadString("Backup", "Cartella backup", ""),
              R"(C:\FANTACALCIO\FCM\Backup\FCMBKP20251102-2305)");
    EXPECT_TRUE(saved.ReadString("Backup", "File esportazione", "")
                    .starts_with(R"(C:\FANTACALCIO\FCM\Esportazioni\)"))
        << saved.ReadString("Backup", "File esportazione", "");
    EXPECT_EQ(ReadText(SettingsFile()).find(PathText(Prefix())), std::string::npos);
}

TEST_F(LinuxBuildUnderWine, UnreachablePathsEndTheRunWithTheReason) {
    LayOutDemo(Plugin::LinuxBuild);
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;  // 1: the arguments are refused at start-up; 2: a step failed
        std::string reason;
    };
    const std::vector<Case> cases = {
        {{LeagueArgument(), "/s=x", R"(/c=Q:\Sito)", "/batch"},
         2,
         "Unità \"Q:\" non presente nel prefisso di Wine"},
        {{LeagueArgument(), "/s=x", R"(/c=\\server\share\Sito)", "/batch"},
         2,
         R"(Percorsi di rete (UNC) non supportati: \\server\share\Sito)"},
        {{R"(/l=R:\FCM\Leghe\Fantalega-1-2025.mdb)", "/s=x", R"(/c=C:\Fantacalcio\Sito)", "/batch"},
         1,
         "/l=\"R:\\FCM\\Leghe\\Fantalega-1-2025.mdb\": Unità \"R:\" non presente nel prefisso di Wine"},
    };
    for (const auto& c : cases) {
        WineRun run = RunPlugin(c.arguments);
        EXPECT_EQ(run.wineCode, 0) << run.output;
        EXPECT_EQ(run.nativeCode, c.exitCode) << run.output;
        EXPECT_NE(run.output.find(c.reason), std::string::npos) << run.output;
    }
}

#if CALVORIN_WITH_GUI
// Nothing outside can press "OK" in the window: it is shown with the settings loaded through Windows paths,
// pictured and closed. Wine keeps QT_* variables from a native program, so the window needs a display.
TEST_F(LinuxBuildUnderWine, WindowOpensOnWindowsPathsAndClosesCleanly) {
    LayOutDemo(Plugin::LinuxBuild);
    VirtualDisplay display;
    ASSERT_FALSE(display.Name().empty()) << "Xvfb non avviato: installare xvfb (tools/setup.sh)";
    const fs::path png = Prefix() / "finestra.png";
    WineRun run = RunPlugin({LeagueArgument(), "/s=x", R"(/c=C:\Fantacalcio\Sito)"},
                            {{"DISPLAY", display.Name()}, {"CALVORIN_SCREENSHOT", png.string()}});
    EXPECT_EQ(run.wineCode, 0) << run.output;
    EXPECT_EQ(run.nativeCode, 0) << run.output;
    EXPECT_EQ(ReadText(png).substr(0, 8), "\x89PNG\r\n\x1A\n") << run.output;
}
#endif

}  // namespace
}  // namespace calvorin::test
