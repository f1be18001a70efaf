// SPDX-License-Identifier: GPL-3.0-or-later
// The start-time block in js/fcmSerieADati.js: replacement of an earlier block, line ends, encodings,
// and what node makes of the result.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/Encoding.h"
#include "starttimes/ParseDateTime.h"
#include "starttimes/SerieAExport.h"
#include "starttimes/TestDateTime.h"
#include "support/ChildProcess.h"
#include "support/Command.h"
#include "support/FaultInjection.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

using Orari = std::array<LocalDateTime, kMatchdays>;

Orari DefaultOrari() {
    Orari orari;
    for (int n = 1; n <= kMatchdays; ++n)
        ParseDateTime(DefaultStartTimeText(n), DateTimeForm::Storage, orari[n - 1]);
    return orari;
}

// The table the tests export: the defaults with two changes, one with seconds.
Orari NewOrari() {
    Orari orari = DefaultOrari();
    orari[1] = test::At(2023, 8, 19, 18, 30, 15);
    orari[37] = test::At(2024, 5, 26, 20, 45);
    return orari;
}

// The block as the site's scripts expect it, built here from the date parts, lines ending in CR LF.
std::string ExpectedBlock(const Orari& orari) {
    std::string block = "\r\n\r\nvar arrDateA=new Array()\r\na=arrDateA\r\n";
    for (int n = 1; n <= kMatchdays; ++n) {
        DateTimeParts p = orari[n - 1].Parts();
        char line[64];
        std::snprintf(line, sizeof line, "a[%d]=new Date(\"%04d-%02d-%02dT%02d:%02d:%02d\")\r\n", n, p.year,
                      p.month, p.day, p.hour, p.minute, p.second);
        block += line;
    }
    return block;
}

// An earlier run's block, with the line ends of the file it sits in.
std::string OldBlock(const char* eol = "\r\n") {
    std::string block = std::string(eol) + eol + "var arrDateA=new Array()" + eol + "a=arrDateA" + eol;
    for (int n = 1; n <= kMatchdays; ++n)
        block += "a[" + std::to_string(n) + "]=new Date(\"2019-08-24T18:00:00\")" + eol;
    return block;
}

std::string Utf16(std::string_view utf8, TextEncoding encoding) {
    return EncodeText(utf8, encoding);
}

// What node sees in the written file, against what the table holds.
void ExpectNodeReadsTheTable(const std::filesystem::path& file, const Orari& orari) {
    std::string expected = "length 39 alias true zero true\n";
    for (int n = 1; n <= kMatchdays; ++n) {
        DateTimeParts p = orari[n - 1].Parts();
        expected += std::to_string(n) + " " + std::to_string(p.year) + " " + std::to_string(p.month) + " " +
                    std::to_string(p.day) + " " + std::to_string(p.hour) + " " + std::to_string(p.minute) +
                    " " + std::to_string(p.second) + "\n";
    }
    std::string script = CALVORIN_SOURCE_DIR "/tests/starttimes/read_serie_a.js";
    EXPECT_EQ(test::RunCommand("node " + test::ShellQuote(script) + " " + test::ShellQuote(file)).output,
              expected);
}

// True when the call threw.
template <typename Call>
bool Throws(Call&& call) {
    try {
        call();
        return false;
    } catch (const std::runtime_error&) {
        return true;
    }
}

class SerieAExportTest : public ::testing::Test {
  protected:
    std::filesystem::path File() const { return dir / "js" / "fcmSerieADati.js"; }
    std::string Export(const Orari& orari) {
        EsportaOrariSerieA(orari, dir.path().string(), log);
        return test::ReadBytes(File());
    }

    test::TempDir dir;
    MemoryLogSink sink;
    Log log{sink};
};

TEST_F(SerieAExportTest, ReplacesTheEarlierBlockAndKeepsFcmsLines) {
    const std::string fcm =
        "// Dati Serie A\r\nvar arrSquadreA=new Array()\r\narrSquadreA[1]=\"Atalanta\"\r\n";
    const std::string block = ExpectedBlock(NewOrari());
    struct Case {
        const char* name;
        std::string before;
        std::string after;  // without the new block
    } cases[] = {
        {"first run", fcm, fcm},
        {"earlier block", fcm + OldBlock(), fcm},
        {"lines after the earlier block go with it", fcm + OldBlock() + "var dopo=1\r\n\r\n", fcm},
        {"blank lines above the marker go, content stays", fcm + "\r\n  \r\n\t\r\n" + OldBlock(), fcm},
        {"only blank lines and a block", "\r\n \r\n\t\r\n" + OldBlock(), ""},
        {"empty file", "", ""},
        {"marker with other spacing", fcm + "var arrDateA = new Array()\r\na=arrDateA\r\n",
         fcm + "var arrDateA = new Array()\r\na=arrDateA\r\n"},
        {"marker in other case", fcm + "var ARRDATEA=new Array()\r\n", fcm + "var ARRDATEA=new Array()\r\n"},
        {"marker with a trailing blank", fcm + "var arrDateA=new Array() \r\n",
         fcm + "var arrDateA=new Array() \r\n"},
        {"line feeds only", "// Dati\nvar x=1\n" + OldBlock("\n"), "// Dati\r\nvar x=1\r\n"},
        {"carriage returns only", "// Dati\rvar x=1\r", "// Dati\r\nvar x=1\r\n"},
        {"no final line break", "// Dati\r\nvar x=1", "// Dati\r\nvar x=1\r\n"},
        {"ANSI bytes kept as they are", "// Societ\xE0 \x80 \x81\x8D\x8F\x90\x9D\r\n" + OldBlock(),
         "// Societ\xE0 \x80 \x81\x8D\x8F\x90\x9D\r\n"},
        {"UTF-8 byte-order mark kept", "\xEF\xBB\xBF// Societ\xC3\xA0\r\n" + OldBlock(),
         "\xEF\xBB\xBF// Societ\xC3\xA0\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteBytes(File(), c.before);
        EXPECT_EQ(Export(NewOrari()), c.after + block);
        ExpectNodeReadsTheTable(File(), NewOrari());
    }
}

TEST_F(SerieAExportTest, Utf16FilesStayUtf16) {
    const std::string fcm = "// Societ\xC3\xA0\r\nvar x=1\r\n";
    for (TextEncoding encoding : {TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        test::WriteBytes(File(), Utf16(fcm + OldBlock(), encoding));
        EXPECT_EQ(Export(NewOrari()), Utf16(fcm + ExpectedBlock(NewOrari()), encoding));
        ExpectNodeReadsTheTable(File(), NewOrari());
    }
}

TEST_F(SerieAExportTest, ASecondRunGivesTheSameFile) {
    test::WriteBytes(File(), "// Dati Serie A\r\nvar x=1\r\n");
    std::string first = Export(DefaultOrari());
    EXPECT_EQ(Export(DefaultOrari()), first);
    EXPECT_EQ(SplitLines(first).size(), 2u + 42u);
}

TEST_F(SerieAExportTest, WritesOnlyItsHeadingToTheLog) {
    test::WriteBytes(File(), "var x=1\r\n");
    Export(DefaultOrari());
    EXPECT_EQ(sink.Text(), "\n• Esportazione data e orari inizio partite di Serie A in fcmSerieADati.js\n");
    EXPECT_TRUE(sink.Lines()[0].segments.back().style.italic);
}

TEST_F(SerieAExportTest, AMissingFileIsAnErrorAndIsNeverCreated) {
    EXPECT_THROW(EsportaOrariSerieA(DefaultOrari(), dir.path().string(), log), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir / "js"));
    std::filesystem::create_directory(dir / "js");
    EXPECT_THROW(EsportaOrariSerieA(DefaultOrari(), dir.path().string(), log), std::runtime_error);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "js"));
}

TEST_F(SerieAExportTest, FailureOrCrashAtEveryWriteLeavesFcmsFileWholeAndNoTemporaryAfterTheNextRun) {
    const std::string fcm = "var arrSquadreA=new Array()\r\n";
    test::WriteBytes(File(), fcm + OldBlock());
    std::size_t at = 1;
    for (;; ++at) {
        SCOPED_TRACE(at);
        const std::string before = test::ReadBytes(File());
        int status = test::RunInChild([&] {
            test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Crash, at});
            ScopedFileSystem scope(faulty);
            EsportaOrariSerieA(NewOrari(), dir.path().string(), log);
        });
        const std::string after = test::ReadBytes(File());
        EXPECT_TRUE(after == before || after == fcm + ExpectedBlock(NewOrari())) << after;
        {
            test::FaultInjectingFileSystem faulty({test::FaultPlan::Kind::Fail, at});
            ScopedFileSystem scope(faulty);
            EXPECT_EQ(Throws([&] { EsportaOrariSerieA(DefaultOrari(), dir.path().string(), log); }),
                      status != 0);
        }
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir / "js"))
            names.push_back(entry.path().filename());
        EXPECT_EQ(names, std::vector<std::string>{"fcmSerieADati.js"});
        EXPECT_TRUE(test::ReadBytes(File()).starts_with(fcm));
        if (status == 0) break;
        ASSERT_EQ(status, test::kCrashExitCode);
    }
    EXPECT_GE(at, 5u);
    ExpectNodeReadsTheTable(File(), DefaultOrari());
}

}  // namespace
}  // namespace calvorin
