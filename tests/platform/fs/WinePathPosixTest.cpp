// SPDX-License-Identifier: GPL-3.0-or-later
// Windows paths mapped through a scratch Wine prefix whose dosdevices links the tests make themselves: the
// Linux program started by FCM under Wine.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/fs/Files.h"
#include "platform/fs/WinePath.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"
#include "support/posix/PosixFiles.h"

namespace calvorin {
namespace {

namespace fs = std::filesystem;

using test::ScopedEnv;

// A prefix as wineboot lays it out (c: -> ../drive_c, z: -> /) plus d: pointing outside it, holding an FCM
// folder with names in mixed case.
class WinePathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        test::MakeScratchWinePrefix(Prefix());
        fs::create_directory_symlink(Elsewhere(), Prefix() / "dosdevices" / "d:");
        fs::create_directories(Elsewhere());
        fs::create_directories(DriveC() / "FCM" / "Leghe");
        fs::create_directories(DriveC() / "FCM" / "Città");
        fs::create_directories(DriveC() / "Dati");
        fs::create_directories(DriveC() / "DATI");
        test::WriteBytes(DriveC() / "FCM" / "Leghe" / "Lega-1-2025.mdb", "lega");
        test::WriteBytes(Elsewhere() / "Export.exp", "esportazione");
    }

    fs::path Prefix() const { return dir / "prefix"; }
    fs::path DriveC() const { return fs::canonical(Prefix()) / "drive_c"; }
    fs::path Elsewhere() const { return dir / "altrove"; }
    fs::path Map(const std::string& text) const { return MapWindowsPath(text, Prefix()); }
    std::string MapError(const std::string& text) const {
        try {
            return "mapped to " + PathText(Map(text));
        } catch (const std::runtime_error& e) {
            return e.what();
        }
    }

    test::TempDir dir;
};

TEST_F(WinePathTest, DrivePathsReachTheFilesWineGivesThem) {
    const fs::path c = DriveC();
    const fs::path d = fs::canonical(Elsewhere());
    const fs::path tmp = fs::canonical(dir.path());
    struct Case {
        std::string text;
        fs::path expected;
    };
    const std::vector<Case> cases = {
        {R"(C:\FCM\Leghe\Lega-1-2025.mdb)", c / "FCM" / "Leghe" / "Lega-1-2025.mdb"},
        {R"(c:\fcm\LEGHE\lega-1-2025.MDB)", c / "FCM" / "Leghe" / "Lega-1-2025.mdb"},
        {"C:/FCM/Leghe", c / "FCM" / "Leghe"},
        {R"(C:\\FCM\.\Leghe\\)", c / "FCM" / "Leghe"},
        {R"(C:\FCM\CITTÀ)", c / "FCM" / "Città"},
        {"C:", c},
        {R"(C:\)", c},
        {R"(C:\FCM\..\..\..\FCM)", c / "FCM"},
        {R"(\\?\C:\FCM\Leghe)", c / "FCM" / "Leghe"},
        // An exact match wins over one that differs in case.
        {R"(C:\DATI)", c / "DATI"},
        {R"(C:\Dati)", c / "Dati"},
        // A name that does not exist is kept as written, and so is everything below it.
        {R"(C:\fcm\plugin\Calvorin_Lega-1-2025.ini)", c / "FCM" / "plugin" / "Calvorin_Lega-1-2025.ini"},
        {R"(C:\Nuova\leghe\X.ini)", c / "Nuova" / "leghe" / "X.ini"},
        {R"(D:\export.EXP)", d / "Export.exp"},
        {"Z:" + PathText(tmp / "altrove" / "export.exp"), d / "Export.exp"},
        {"z:\\" + PathText(tmp.relative_path() / "ALTROVE"), d},
    };
    for (const auto& c : cases) EXPECT_EQ(Map(c.text), c.expected) << c.text;
}

TEST_F(WinePathTest, UnreachablePathsAreRefusedWithAnItalianMessage) {
    fs::create_directory_symlink(dir / "manca", Prefix() / "dosdevices" / "e:");
    fs::create_symlink("f:", Prefix() / "dosdevices" / "f:");  // a link to itself
    test::WriteBytes(Prefix() / "dosdevices" / "g:", "un file, non una cartella");
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {R"(Q:\Sito)",
         "Unità \"Q:\" non presente nel prefisso di Wine (" + PathText(Prefix() / "dosdevices") + ")"},
        {"q:/Sito", "Unità \"Q:\" non presente nel prefisso di Wine"},
        {R"(E:\x)", "Unità \"E:\" non presente"},
        {R"(F:\x)", "Unità \"F:\" non presente"},
        {R"(G:\x)", "Unità \"G:\" non presente"},
        {R"(\\server\share\Sito)", R"(Percorsi di rete (UNC) non supportati: \\server\share\Sito)"},
        {R"(\\?\UNC\server\share)", "Percorsi di rete (UNC) non supportati"},
        {R"(\\)", "Percorsi di rete (UNC) non supportati"},
        {"C:\\" + std::string(256, 'a'), "Nome troppo lungo"},
        {"C:" + std::string(40000, '\\'), "Percorso troppo lungo (40002 caratteri)"},
        {[] {
             std::string deep = "C:";
             for (int i = 0; i < 600; ++i) deep += "\\a";
             return deep;
         }(),
         "Percorso con troppi livelli di cartelle"},
        {std::string("C:\\FCM\0x", 8), "carattere nullo"},
    };
    for (const auto& c : cases)
        EXPECT_NE(MapError(c.text).find(c.message), std::string::npos) << MapError(c.text);
}

// Any text after the drive either maps below the drive's root (".." never climbs out) or is refused.
TEST_F(WinePathTest, ArbitraryTextStaysOnItsDriveOrIsRefused) {
    const std::string alphabet = std::string("\\/.:aAfFcCmM?* \0", 16) + "\xC3\xA0\x80\xFF";
    std::mt19937 random(20251210);
    std::size_t refused = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string text = "C:\\";
        const std::size_t length = random() % 40;
        for (std::size_t k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
        try {
            const std::string mapped = PathText(Map(text));
            EXPECT_TRUE(mapped == PathText(DriveC()) || mapped.starts_with(PathText(DriveC()) + "/"))
                << mapped;
        } catch (const std::runtime_error&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0U);  // the NUL in the alphabet is refused
}

TEST_F(WinePathTest, HostileEntriesInThePrefixNeverHang) {
    fs::create_symlink("ciclo", DriveC() / "ciclo");  // a link to itself
    test::MakeFifo(DriveC() / "coda");
    EXPECT_EQ(Map(R"(C:\CICLO\x)"), DriveC() / "ciclo" / "x");
    EXPECT_EQ(Map(R"(C:\coda\x\y)"), DriveC() / "coda" / "x" / "y");
    EXPECT_EQ(Map(R"(C:\CODA\x)"), DriveC() / "coda" / "x");
}

TEST_F(WinePathTest, PathFromTextMapsOnlyWindowsFormThroughWineprefix) {
    ScopedEnv prefix("WINEPREFIX", PathText(Prefix()));
    EXPECT_EQ(PathFromText(R"(C:\fcm\leghe)"), DriveC() / "FCM" / "Leghe");
    for (const std::string text :
         {"/srv/FCM/Leghe/x.mdb", "relativa/x", "", "C:foo", R"(a\b)", "//server/share", "1:\\x", "/c:\\x"}) {
        EXPECT_EQ(PathFromText(text), fs::path(text)) << text;
        EXPECT_FALSE(PathTextProblem(text)) << text;
    }
    EXPECT_NE(PathTextProblem(R"(Q:\x)").value_or("").find("Unità \"Q:\""), std::string::npos);
}

TEST_F(WinePathTest, ThePrefixIsWineprefixOrTheDefaultInHome) {
    {
        ScopedEnv prefix("WINEPREFIX", std::nullopt);
        ScopedEnv home("HOME", "/home/presidente");
        EXPECT_EQ(WinePrefixFromEnvironment(), fs::path("/home/presidente/.wine"));
    }
    {
        ScopedEnv prefix("WINEPREFIX", "");
        ScopedEnv home("HOME", "/home/presidente");
        EXPECT_EQ(WinePrefixFromEnvironment(), fs::path("/home/presidente/.wine"));
    }
    {
        ScopedEnv prefix("WINEPREFIX", "/opt/fcm-wine");
        EXPECT_EQ(WinePrefixFromEnvironment(), fs::path("/opt/fcm-wine"));
    }
    for (const auto& [winePrefix, home] :
         std::vector<std::pair<std::optional<std::string>, std::optional<std::string>>>{
             {"relativo/wine", "/home/x"},
             {std::nullopt, std::nullopt},
             {std::nullopt, "relativa"},
             {std::string(5000, '/'), "/home/x"}}) {
        ScopedEnv prefix("WINEPREFIX", winePrefix);
        ScopedEnv homeEnv("HOME", home);
        EXPECT_THROW(WinePrefixFromEnvironment(), std::runtime_error) << winePrefix.value_or("(none)");
    }
}

}  // namespace
}  // namespace calvorin
