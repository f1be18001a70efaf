// SPDX-License-Identifier: GPL-3.0-or-later
// What node, as the site's pages, makes of js/fcmSerieADati.js after each kind of export.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SerieAExportFixture.h"
#include "SerieAExportNode.h"

namespace calvorin {
namespace {

using test::ExpectNodeReadsTheTable;
using test::NewOrari;
using test::OldBlock;
using test::Orari;
using test::SerieAExportTest;
using test::Utf16;

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
