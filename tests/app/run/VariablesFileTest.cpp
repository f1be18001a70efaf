// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run/VariablesFile.h"

#include <gtest/gtest.h>

#include "platform/text/Encoding.h"
#include "support/TempDir.h"

namespace calvorin {

TEST(CountLines, CountsNonEmptyLinesWhateverTheLineEndsAndEncoding) {
    test::TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        int count;
    } cases[] = {
        {"mixed line ends", "a\r\nb\nc\rd", 4},
        {"empty and blank lines", "a\r\n\r\n  \r\nb\r\n", 3},
        {"final break starts no line", "a\nb\n", 2},
        {"empty file", "", 0},
        {"utf-8 bom", "\xEF\xBB\xBFuno\r\ndue\r\n", 2},
        {"utf-16 bom", EncodeText("uno\r\n\r\ndue\r\ntre", TextEncoding::Utf16Le), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteBytes(dir / "f.js", c.bytes);
        EXPECT_EQ(CountLines(dir / "f.js"), c.count);
    }
    EXPECT_EQ(CountLines(dir / "missing.js"), -1);
    EXPECT_EQ(CountLines(dir.path()), -1) << "a folder cannot be read as a file";
}

TEST(VariablesFile, FeaturesFollowTheSiteFilesAndTheLineupSwitch) {
    struct Case {
        const char* documents;  // nullptr: file absent
        const char* queries;
        bool lineup;
        const char *invio, *documenti, *statistiche;
    } cases[] = {
        {nullptr, "a\nb\nc\n", false, "no", "no", "si"},
        {"a\nb\n", "a\n\n  \n", true, "si", "no", "no"},
        {"a\nb\nc", nullptr, true, "si", "si", "no"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.invio << c.documenti << c.statistiche);
        test::TempDir site;
        std::filesystem::create_directories(site / "js");
        if (c.documents) test::WriteBytes(site / "js" / "fcmDocumentiDati.js", c.documents);
        if (c.queries) test::WriteBytes(site / "js" / "fcmQueryDati.js", c.queries);
        WriteVariablesFile("2.4.0", c.lineup, site.path().string());
        std::string text = test::ReadBytes(site / "js" / "fcmVariabiliCalvorin.js");
        EXPECT_EQ(text,
                  "/**\r\n * fcmVariabiliCalvorin.js\r\n * Generato da Calvorin versione 2.4.0\r\n */\r\n\r\n"
                  "var invioFormazione=\"" +
                      std::string(c.invio) + "\";\r\nvar documenti=\"" + c.documenti +
                      "\";\r\nvar statistiche=\"" + c.statistiche + "\";\r\n");
    }
}

TEST(VariablesFile, AMissingJsFolderFails) {
    test::TempDir site;
    EXPECT_THROW(WriteVariablesFile("2.4.0", true, site.path().string()), std::runtime_error);
}

}  // namespace calvorin
