// SPDX-License-Identifier: GPL-3.0-or-later
// The start-time block in js/fcmSerieADati.js: replacement of an earlier block, line ends, encodings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SerieAExportFixture.h"

namespace calvorin {
namespace {

using test::DefaultOrari;
using test::ExpectedBlock;
using test::NewOrari;
using test::OldBlock;
using test::SerieAExportTest;
using test::Utf16;

TEST_F(SerieAExportTest, ReplacesTheEarlierBlockAndKeepsFcmsLines) {
    const std::string block = ExpectedBlock(NewOrari());
    for (const test::ReplacementCase& c : test::ReplacementCases()) {
        SCOPED_TRACE(c.name);
        test::WriteBytes(File(), c.before);
        EXPECT_EQ(Export(NewOrari()), c.after + block);
    }
}

TEST_F(SerieAExportTest, Utf16FilesStayUtf16) {
    const std::string fcm = "// Societ\xC3\xA0\r\nvar x=1\r\n";
    for (TextEncoding encoding : {TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        test::WriteBytes(File(), Utf16(fcm + OldBlock(), encoding));
        EXPECT_EQ(Export(NewOrari()), Utf16(fcm + ExpectedBlock(NewOrari()), encoding));
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
    EXPECT_THROW(EsportaOrariSerieA(DefaultOrari(), PathText(dir.path()), log), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir / "js"));
    std::filesystem::create_directory(dir / "js");
    EXPECT_THROW(EsportaOrariSerieA(DefaultOrari(), PathText(dir.path()), log), std::runtime_error);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "js"));
}

}  // namespace
}  // namespace calvorin
