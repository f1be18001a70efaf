// SPDX-License-Identifier: GPL-3.0-or-later
// Strict UTF-8: well-formed text passes, every malformed shape fails.
#include "platform/text/Utf8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace calvorin {
namespace {

// Shapes from the Unicode Standard, table 3-7 (well-formed UTF-8 byte sequences).
TEST(Utf8, OnlyWellFormedSequencesAreValid) {
    struct Case {
        std::string_view bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"Modalità €", true},
        {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF, the last code point
        {"\xC0\xAF", false},          // overlong "/"
        {"\xE0\x9A\xA0", false},      // overlong three-byte form
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\xE2\x82", false},          // cut short
        {"\x80", false},              // a continuation byte alone
        {"perch\xE9", false},         // Windows-1252
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::string(c.bytes)));
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid);
    }
}

TEST(Utf8, DecodeGivesTheCodePointAndTheLength) {
    char32_t codePoint = 0;
    EXPECT_EQ(DecodeUtf8("€uro", codePoint), 3u);
    EXPECT_EQ(codePoint, U'€');
    EXPECT_EQ(DecodeUtf8("", codePoint), 0u);
}

TEST(Utf8, AppendWritesTheShortestFormThatDecodesBack) {
    const struct {
        char32_t codePoint;
        std::string_view bytes;
    } cases[] = {
        {0x00, {"\0", 1}},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFD, "\xEF\xBF\xBD"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<std::uint32_t>(c.codePoint));
        std::string out = "x";
        AppendUtf8(out, c.codePoint);
        EXPECT_EQ(out, "x" + std::string(c.bytes));
        char32_t decoded = 0;
        EXPECT_EQ(DecodeUtf8(c.bytes, decoded), c.bytes.size());
        EXPECT_EQ(decoded, c.codePoint);
    }
}

}  // namespace
}  // namespace calvorin
