// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/Encoding.h"

#include <gtest/gtest.h>

namespace calvorin {

TEST(Encoding, Cp1252RoundTripKeepsItalianLettersAndEuro) {
    std::string utf8 = "Modalit\xC3\xA0 \xE2\x82\xAC perch\xC3\xA9";
    std::string cp = Utf8ToCp1252(utf8);
    EXPECT_EQ(cp, "Modalit\xE0 \x80 perch\xE9");
    EXPECT_EQ(Cp1252ToUtf8(cp), utf8);
}

TEST(Encoding, CharactersWindows1252LacksBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("a\xD0\x96"
                           "b\xE4\xB8\xAD"
                           "c"),
              "a?b?c");                                    // Cyrillic, CJK
    EXPECT_EQ(Utf8ToCp1252("x\xF0\x9F\x98\x80y"), "x?y");  // emoji
    EXPECT_EQ(Utf8ToCp1252("bad\xFF"
                           "byte"),
              "bad?byte");                       // not UTF-8
    EXPECT_EQ(Utf8ToCp1252("cut\xC3"), "cut?");  // truncated sequence
}

TEST(Encoding, ByteOrderMarkSelectsTheEncodingAndSurvivesRoundTrip) {
    const std::string text = "[Sezione]\r\nModalit\xC3\xA0=1\r\n";
    for (auto enc :
         {TextEncoding::Ansi, TextEncoding::Utf8Bom, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
        SCOPED_TRACE(static_cast<int>(enc));
        std::string bytes = EncodeText(text, enc);
        DecodedText decoded = DecodeText(bytes);
        EXPECT_EQ(decoded.encoding, enc);
        EXPECT_EQ(decoded.utf8, text);
    }
    EXPECT_EQ(EncodeText("a", TextEncoding::Utf16Le), std::string("\xFF\xFE"
                                                                  "a\0",
                                                                  4));
    EXPECT_EQ(EncodeText("a", TextEncoding::Utf16Be), std::string("\xFE\xFF\0a", 4));
}

// Windows reads the five bytes Windows-1252 leaves undefined as C1 controls and writes them back; a file
// read and written here keeps them too, where "?" would merge them with a real question mark.
TEST(Encoding, Cp1252FileKeepsItsUndefinedBytes) {
    const std::string bytes = "[\x81\x8D\x8F\x90\x9D]\r\n?=\x9D\r\n";
    const DecodedText decoded = DecodeText(bytes);
    EXPECT_EQ(decoded.encoding, TextEncoding::Ansi);
    EXPECT_EQ(decoded.utf8, "[\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D]\r\n?=\xC2\x9D\r\n");
    EXPECT_EQ(EncodeText(decoded.utf8, TextEncoding::Ansi), bytes);
    EXPECT_EQ(Utf8ToCp1252("\xC2\x80\xC2\x9D\xC2\x9E"), "?\x9D?") << "other C1 controls have no byte";
    EXPECT_EQ(Cp1252ToUtf8("\x9D"), "\xEF\xBF\xBD") << "texts read for display keep U+FFFD";
}

TEST(Encoding, MalformedUtf16DecodesWithoutFailing) {
    DecodedText d =
        DecodeText(std::string("\xFF\xFE"
                               "a\0\x00\xD8",
                               6));  // lone high surrogate
    EXPECT_EQ(d.encoding, TextEncoding::Utf16Le);
    EXPECT_TRUE(d.utf8.starts_with("a"));
}

TEST(Encoding, RepairUtf8ReplacesOnlyMalformedSequences) {
    struct Case {
        std::string_view bytes;
        std::string_view repaired;
    } cases[] = {
        {"Modalità €", "Modalità €"},
        {"\xEF\xBB\xBFtesto", "\xEF\xBB\xBFtesto"},  // a byte-order mark inside the text stays
        {"a\xFF"
         "b",
         "a\xEF\xBF\xBD"
         "b"},
        {"perch\xE9", "perch\xEF\xBF\xBD"},  // Windows-1252, not UTF-8
        {"x\xE2\x82", "x\xEF\xBF\xBD"},      // cut in the middle of a character
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.bytes));
        EXPECT_EQ(RepairUtf8(c.bytes), c.repaired);
    }
}

TEST(Encoding, SplitLinesHonoursEveryLineEnd) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (V{"a"}));
    EXPECT_EQ(SplitLines("\n\n"), (V{"", ""}));
    EXPECT_EQ(SplitLines(""), V{});
    EXPECT_EQ(JoinCrlf({"x", "y\nz"}), "x\r\ny\nz\r\n");
}

}  // namespace calvorin
