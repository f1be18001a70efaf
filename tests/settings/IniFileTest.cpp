// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include "support/FaultInjection.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

// Every reading rule in one file (Windows-1252 bytes, as a file without byte-order mark).
const std::string kRules =
    "BackupCartella=before any section\r\n"
    "; comment\r\n"
    "[Generale]\r\n"
    "  Key1 =  value one  \r\n"
    "KEY2=x=y\r\n"
    "key3=\r\n"
    "=orphan\r\n"
    "no equals sign\r\n"
    ";Key4=commented\r\n"
    "\x01Key6=controls\x02\r\n"
    "   \r\n"
    "[ second ]\n"
    "Dup=first\n"
    "Dup=second\n"
    "[GENERALE]\r\n"
    "Key5=in a repeated section\r\n"
    "Key1=later\r\n"
    "\t[Tab]\t\r"
    "a=1\r"
    "[Broken\r\n"
    "b=2\r\n";

TEST(IniFile, ReadingRules) {
    IniFile ini = IniFile::Parse(kRules);
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"Generale", "Key1", "value one"},   // blanks around "=" and the value ignored
        {"generale", "KEY1", "value one"},   // names fold case; first occurrence wins
        {"Generale", "key2", "x=y"},         // split at the first "="
        {"Generale", "key3", ""},            // present, empty
        {"Generale", "BackupCartella", {}},  // lines before the first section hold nothing
        {"Generale", "no equals sign", {}},
        {"Generale", "Key4", {}},
        {"Generale", ";Key4", {}},
        {"Generale", "Key6", "controls"},  // control characters trimmed
        {"second", "dup", "first"},        // duplicate key: the first wins
        {"Generale", "Key5", "in a repeated section"},
        {"Tab", "a", "1"},  // lone CR ends a line; tabs trimmed
        {"Tab", "b", "2"},  // "[Broken" is no header: its keys stay in the section before
        {"Missing", "a", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini.ReadValue(c.section, c.key), c.value);
        EXPECT_EQ(ini.HasKey(c.section, c.key), c.value.has_value());
    }
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Generale", "second", "Tab"}));
    EXPECT_EQ(ini.Encoding(), TextEncoding::Ansi);
}

// The same rules hold over many sections, each repeated later under another letter case.
TEST(IniFile, RepeatedSectionsAndKeysKeepTheirRulesAcrossManySections) {
    constexpr int kSections = 3000;
    std::string text;
    for (int i = 0; i < kSections; ++i) {
        const std::string n = std::to_string(i);
        text += "[Sec" + n + "]\r\nk=first" + n + "\r\nK=dup" + n + "\r\n";
    }
    for (int i = 0; i < kSections; ++i) text += "[SEC" + std::to_string(i) + "]\r\nLater=x\r\n";
    IniFile ini = IniFile::Parse(text);
    ini.WriteString("sEc1500", "K", "new");
    ini.WriteString("sec1500", "added", "y");
    ini.WriteString("Nuova", "a", "1");

    const std::vector<std::string> sections = ini.Sections();
    ASSERT_EQ(sections.size(), kSections + 1u);
    int mismatches = 0;
    for (int i = 0; i < kSections; ++i) {
        const std::string n = std::to_string(i);
        const std::string expected = i == 1500 ? "new" : "first" + n;
        mismatches += sections[static_cast<std::size_t>(i)] != "Sec" + n;
        mismatches += ini.ReadValue("sec" + n, "K") != expected;
        mismatches += ini.ReadValue("SEC" + n, "later") != "x";
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(sections.back(), "Nuova");
    const std::string saved = ini.Serialize();
    EXPECT_NE(saved.find("[Sec1500]\r\nk=new\r\nK=dup1500\r\nLater=x\r\nadded=y\r\n\r\n[Sec1501]"),
              std::string::npos);
    EXPECT_TRUE(
        saved.ends_with("[Sec2999]\r\nk=first2999\r\nK=dup2999\r\nLater=x\r\n\r\n[Nuova]\r\na=1\r\n\r\n"));

    ini.Clear();
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_FALSE(ini.HasKey("Sec1", "k"));
    ini.WriteString("Sec1", "k", "again");
    EXPECT_EQ(ini.Sections(), std::vector<std::string>{"Sec1"});
}

TEST(IniFile, IntegersAndFlagsReadLikeStrToIntDef) {
    struct Case {
        const char* text;
        std::int64_t integer;  // with default 77
        bool flag;             // with default true
    } cases[] = {
        {"0", 0, false},
        {"2", 2, true},
        {"-12", -12, true},
        {"+5", 5, true},
        {"0x1BB", 443, true},
        {"$ff", 255, true},
        {"true", 77, true},
        {"", 77, true},
        {"12a", 77, true},
        {"4294967296", 77, true},
        {"0x", 77, true},
        {"$FFFFFFFF", -1, true},
        {"2147483647", 2147483647, true},
        {"-2147483648", -2147483648LL, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        IniFile ini = IniFile::Parse(std::string("[S]\r\nk = ") + c.text + "\r\n");
        EXPECT_EQ(ini.ReadInteger("S", "k", 77), c.integer);
        EXPECT_EQ(ini.ReadBool("S", "k", true), c.flag);
    }
    IniFile empty;
    EXPECT_EQ(empty.ReadInteger("S", "k", 30), 30);
    EXPECT_FALSE(empty.ReadBool("S", "k", false));
    EXPECT_EQ(empty.ReadString("S", "k", "invform/invform.php"), "invform/invform.php");
}

TEST(IniFile, WritesSectionsInInsertionOrderWithCrlfAndEmptyLines) {
    IniFile ini;
    ini.WriteString("Invio formazione", "Percorso script server", "invform/invform.php");
    ini.WriteBool("Backup", "Nomi casuali", true);
    ini.WriteInteger("Invio formazione", "Anticipo invio", -30);
    ini.WriteBool("backup", "NOMI CASUALI", false);  // same key: replaced in place
    ini.WriteString("Backup", "Cartella backup", "a\r\nb\nc");
    EXPECT_EQ(ini.Serialize(),
              "[Invio formazione]\r\nPercorso script server=invform/invform.php\r\nAnticipo invio=-30\r\n\r\n"
              "[Backup]\r\nNomi casuali=0\r\nCartella backup=a  b c\r\n\r\n");
    ini.Clear();
    EXPECT_EQ(ini.Serialize(), "");
    EXPECT_TRUE(ini.Sections().empty());
}

TEST(IniFile, AccentedKeyNameIsWindows1252OnDiskAndFoldsCase) {
    const std::string bytes = "[Invio formazione]\r\nModalit\xE0 messaggio di Telegram=1\r\n\r\n";
    IniFile ini = IniFile::Parse(bytes);
    EXPECT_EQ(ini.ReadInteger("Invio formazione", "Modalità messaggio di Telegram", 0), 1);
    EXPECT_EQ(ini.ReadInteger("INVIO FORMAZIONE", "MODALITÀ MESSAGGIO DI TELEGRAM", 0), 1);
    EXPECT_EQ(ini.Serialize(), bytes);

    IniFile fresh;
    fresh.WriteInteger("Invio formazione", "Modalità messaggio di Telegram", 1);
    EXPECT_EQ(fresh.Serialize(), bytes);
}

TEST(IniFile, ASectionNamedWithAnUndefinedByteStaysApartFromOneNamedQuestionMark) {
    const std::string bytes = "[\x9D]\r\na=1\r\n\r\n[?]\r\na=2\r\n\r\n";
    const IniFile ini = IniFile::Parse(bytes);
    EXPECT_EQ(ini.Sections().size(), 2U);
    EXPECT_EQ(ini.ReadInteger("?", "a", 0), 2);
    EXPECT_EQ(ini.Serialize(), bytes);
}

TEST(IniFile, EachEncodingRoundTripsWithItsByteOrderMark) {
    const std::string text =
        "[Invio formazione]\r\nModalità messaggio di Telegram=1\r\nTesto=caffè €\r\n\r\n";
    for (TextEncoding encoding :
         {TextEncoding::Ansi, TextEncoding::Utf8Bom, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        test::TempDir dir;
        const std::string bytes = EncodeText(text, encoding);
        test::WriteBytes(dir / "a.ini", bytes);
        IniFile ini = IniFile::Load(dir / "a.ini");
        EXPECT_EQ(ini.Encoding(), encoding);
        EXPECT_EQ(ini.ReadString("invio formazione", "testo", ""), "caffè €");
        ini.Clear();
        ini.WriteInteger("Invio formazione", "Modalità messaggio di Telegram", 1);
        ini.WriteString("Invio formazione", "Testo", "caffè €");
        ini.Save(dir / "a.ini");
        EXPECT_EQ(test::ReadBytes(dir / "a.ini"), bytes);
    }
}

TEST(IniFile, MissingFileIsEmptyAnsiAndUnreadableOneThrows) {
    test::TempDir dir;
    IniFile ini = IniFile::Load(dir / "none.ini");
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_EQ(ini.Encoding(), TextEncoding::Ansi);
    EXPECT_THROW(IniFile::Load(dir.path()), std::runtime_error);
}

TEST(IniFile, FailedSaveLeavesThePreviousFileAndNoTemporary) {
    test::TempDir dir;
    const std::string old = "[Backup]\r\nPassword=old\r\n\r\n";
    test::WriteBytes(dir / "a.ini", old);
    IniFile ini = IniFile::Load(dir / "a.ini");
    ini.WriteString("Backup", "Password", "a much longer new value");
    // Every write operation of the save in turn fails, as a full disk would make it.
    std::size_t failures = 0;
    for (std::size_t at = 1;; ++at) {
        test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Fail, at, ErrorKind::DiskFull});
        ScopedFileSystem scope(faulty);
        std::optional<std::string> warning;
        try {
            warning = ini.Save(dir / "a.ini");
        } catch (const std::runtime_error&) {
            ++failures;
            EXPECT_EQ(test::ReadBytes(dir / "a.ini"), old) << at;
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << at;
            continue;
        }
        // The rename went through, then the folder sync failed: saved, with a warning.
        EXPECT_TRUE(warning.has_value() && faulty.FailedAtFolderSync()) << at;
        break;
    }
    EXPECT_GE(failures, 4u);
    EXPECT_EQ(IniFile::Load(dir / "a.ini").ReadValue("Backup", "Password"), "a much longer new value");
    EXPECT_THROW(ini.Save(dir / "missing folder" / "a.ini"), std::runtime_error);
}

}  // namespace
}  // namespace calvorin
