// SPDX-License-Identifier: GPL-3.0-or-later
// Jet's text forms: UTF-16LE (RFC 2781), Jet 4's compressed unicode, Jet 3's Windows-1252.
#include <gtest/gtest.h>

#include <string>

#include "platform/db/JetText.h"

namespace calvorin {
namespace {

struct Case {
    const char* what;
    std::string bytes;
    std::string utf8;
};

TEST(JetTextTest, Jet4TextsDecodeToUtf8) {
    using namespace std::string_literals;
    const Case cases[] = {
        {"latin letters", "P\0e\0r\0c\0h\0\xE9\0"s, "Perch\xC3\xA9"},
        {"euro sign", "\xAC\x20"s, "\xE2\x82\xAC"},
        {"surrogate pair", "\x3D\xD8\x00\xDE"s, "\xF0\x9F\x98\x80"},
        {"lone high surrogate",
         "\x3D\xD8"
         "A\0"s,
         "\xEF\xBF\xBD"
         "A"},
        {"lone low surrogate", "\x00\xDE"s, "\xEF\xBF\xBD"},
        {"odd byte count", "A\0B"s, "A\xEF\xBF\xBD"},
        {"empty", ""s, ""},
        {"compressed",
         "\xFF\xFE"
         "Ciao"s,
         "Ciao"},
        {"compressed latin-1",
         "\xFF\xFE"
         "Perch\xE8"s,
         "Perch\xC3\xA8"},
        {"compressed with a wide run",
         "\xFF\xFE"
         "A\0\x16\x04\0B"s,
         "A\xD0\x96"
         "B"},
        {"compressed, dangling wide byte", "\xFF\xFE\0\x16"s, "\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DecodeJet4Text(c.bytes), c.utf8);
    }
}

TEST(JetTextTest, Jet3TextsAreWindows1252) {
    EXPECT_EQ(DecodeJet3Text("Ums\xE4tze"), "Ums\xC3\xA4tze");
    EXPECT_EQ(DecodeJet3Text("\x80 5"), "\xE2\x82\xAC 5");
    EXPECT_EQ(DecodeJet3Text("plain"), "plain");
}

}  // namespace
}  // namespace calvorin
