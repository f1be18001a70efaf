// SPDX-License-Identifier: GPL-3.0-or-later
// What node, as the site's pages, makes of js/fcmSerieADati.js after each kind of export.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SerieAExportFixture.h"
#include "support/Command.h"

namespace calvorin {
namespace {

using test::NewOrari;
using test::OldBlock;
using test::Orari;
using test::SerieAExportTest;
using test::Utf16;

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

TEST_F(SerieAExportTest, NodeReadsTheTableWhateverTheFileHeldBefore) {
    for (const test::ReplacementCase& c : test::ReplacementCases()) {
        SCOPED_TRACE(c.name);
        test::WriteBytes(File(), c.before);
        Export(NewOrari());
        ExpectNodeReadsTheTable(File(), NewOrari());
    }
    for (TextEncoding encoding : {TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        test::WriteBytes(File(), Utf16("// Societ\xC3\xA0\r\nvar x=1\r\n" + OldBlock(), encoding));
        Export(NewOrari());
        ExpectNodeReadsTheTable(File(), NewOrari());
    }
}

}  // namespace
}  // namespace calvorin
