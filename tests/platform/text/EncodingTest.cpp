// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/Encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/text/Utf8.h"

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
              "bad?byte");                                     // not UTF-8
    EXPECT_EQ(Utf8ToCp1252("cut\xC3"), "cut?");                // truncated sequence
    EXPECT_EQ(Utf8ToCp1252("tag\xF3\xA0\x80\x81!"), "tag?!");  // a language tag is a character too
    EXPECT_EQ(Utf8ToCp1252("\xF4\x90\x80\x80|\xED\xA0\x80|\xC0\xAF"), "?|?|?");  // not UTF-8: one "?" each
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

// Each malformed shape of UTF-16 gives U+FFFD for its unit, and an odd final byte one more.
TEST(Encoding, Utf16SurrogatesPairOrBecomeReplacements) {
    const struct {
        std::string_view units;  // little-endian, after the byte-order mark
        std::string_view utf8;
    } cases[] = {
        {{"\x3D\xD8\x00\xDE", 4}, "\xF0\x9F\x98\x80"},  // U+1F600 as a pair
        {{"\x00\xD8", 2}, "\xEF\xBF\xBD"},              // high surrogate at the end
        {{"\x00\xD8"
          "A\0",
          4},
         "\xEF\xBF\xBD"
         "A"},  // high surrogate, no low one
        {{"\x00\xDC"
          "A\0",
          4},
         "\xEF\xBF\xBD"
         "A"},  // low surrogate alone
        {{"A\0"
          "B",
          3},
         "A\xEF\xBF\xBD"},  // odd final byte
        {{"\x00\xD8"
          "B",
          3},
         "\xEF\xBF\xBD\xEF\xBF\xBD"},  // both at the end
        {{"\xFF\xFE"
          "A\0",
          4},
         "\xEF\xBB\xBF"
         "A"},                                         // a second mark is text
        {{"\0\0\xFF\xFF", 4}, {"\0\xEF\xBF\xBF", 4}},  // U+0000 and U+FFFF kept
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.units)));
        std::string le = "\xFF\xFE" + std::string(c.units), be = "\xFE\xFF";
        for (std::size_t i = 0; i + 1 < c.units.size(); i += 2) be += {c.units[i + 1], c.units[i]};
        if (c.units.size() % 2 != 0) be += c.units.back();
        EXPECT_EQ(DecodeText(le).utf8, c.utf8);
        EXPECT_EQ(DecodeText(be).utf8, c.utf8);
    }
    EXPECT_EQ(EncodeText("\xF0\x9F\x98\x80|\xFF", TextEncoding::Utf16Le),
              std::string("\xFF\xFE\x3D\xD8\x00\xDE|\0\xFD\xFF", 10));
    EXPECT_EQ(EncodeText("\xF0\x9F\x98\x80|\xFF", TextEncoding::Utf16Be),
              std::string("\xFE\xFF\xD8\x3D\xDE\x00\0|\xFF\xFD", 10));
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
        {"perch\xE9", "perch\xEF\xBF\xBD"},            // Windows-1252, not UTF-8
        {"x\xE2\x82", "x\xEF\xBF\xBD"},                // cut in the middle of a character
        {"\xF4\x90\x80\x80", "\xEF\xBF\xBD"},          // above U+10FFFF: one replacement for the sequence
        {"\xED\xA0\x80!", "\xEF\xBF\xBD!"},            // a surrogate
        {"\xC0\xAF\x80", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // overlong "/", then a stray continuation byte
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.bytes));
        EXPECT_EQ(RepairUtf8(c.bytes), c.repaired);
        EXPECT_TRUE(IsValidUtf8(RepairUtf8(c.bytes)));
        EXPECT_EQ(EncodeText(c.bytes, TextEncoding::Utf8Bom), "\xEF\xBB\xBF" + std::string(c.repaired));
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
