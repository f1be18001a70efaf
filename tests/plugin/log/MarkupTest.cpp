// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugin/log/Markup.h"

#include <gtest/gtest.h>

#include "plugin/log/Log.h"

namespace calvorin {
namespace {

constexpr Rgb kRed{255, 0, 0}, kNavy{0, 0, 128};

std::string Plain(const StyledLine& line) {
    std::string s;
    for (const auto& seg : line.segments) s += seg.text;
    return s;
}

}  // namespace

TEST(Markup, VisibleTextAndCountFollowTheTagsAndEntities) {
    struct Case {
        const char* markup;
        const char* visible;
        int count;
    } cases[] = {
        {"<b>Calvorin</b> versione 2.4.0", "Calvorin versione 2.4.0", 23},
        {"&lt;b&gt;x", "<b>x", 4},
        {"&amp;lt; &x", "&lt; &x", 7},  // entities replaced once, in order
        {"a<unknown>b", "ab", 2},
        {"keep <cut here", "keep ", 5},  // "<" without ">" ends the visible text
        {"", "", 0},
        {"caff\xC3\xA8", "caff\xC3\xA8", 5},  // counted in characters
        {"\n<navy>x</color>", "\nx", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.markup);
        StyledLine line = ParseMarkup(c.markup);
        EXPECT_EQ(Plain(line), c.visible);
        EXPECT_EQ(line.visibleCount, c.count);
    }
}

TEST(Markup, TagsSetAndClearStylesWithoutNesting) {
    StyledLine line = ParseMarkup("<I>a</i>b<RED>c<navy>d</color>e<B><u><s>f");
    ASSERT_EQ(line.segments.size(), 6u);
    EXPECT_TRUE(line.segments[0].style.italic);
    EXPECT_FALSE(line.segments[1].style.italic);
    EXPECT_EQ(line.segments[2].style.color, kRed);
    EXPECT_EQ(line.segments[3].style.color, kNavy);
    EXPECT_FALSE(line.segments[4].style.color.has_value());
    EXPECT_TRUE(line.segments[5].style.bold && line.segments[5].style.underline &&
                line.segments[5].style.strikeOut);
}

TEST(Markup, EveryColourNameIsATagEvenTheGreys) {
    for (const char* name :
         {"black",  "maroon", "green",      "olive",   "navy",  "purple",  "teal", "gray",
          "silver", "red",    "lime",       "yellow",  "blue",  "fuchsia", "aqua", "ltgray",
          "dkgray", "white",  "moneygreen", "skyblue", "cream", "medgray"}) {
        SCOPED_TRACE(name);
        StyledLine line = ParseMarkup(std::string("<") + name + ">x");
        ASSERT_EQ(line.segments.size(), 1u);
        EXPECT_TRUE(line.segments[0].style.color.has_value());
    }
}

TEST(Log, StyleDoesNotCarryOverToTheNextLine) {
    MemoryLogSink sink;
    int calls = 0;
    Log log(sink, [&] { ++calls; });
    EXPECT_EQ(log.WriteLog("<b>%s</b> versione %s", "Calvorin", "2.4.0"), 23);
    log.WriteLog("<b>left bold");
    log.WriteLog("plain");
    EXPECT_EQ(calls, 3) << "pending events processed after every line";
    EXPECT_FALSE(sink.Lines().back().segments[0].style.bold);
    EXPECT_EQ(sink.Text(), "Calvorin versione 2.4.0\nleft bold\nplain\n");
    EXPECT_EQ(log.WriteLog(""), 0);
}

TEST(FlattenMessage, JoinsLinesWithBarsAndTrims) {
    EXPECT_EQ(FlattenMessage("  riga 1\r\nriga 2\r\n"), "riga 1 | riga 2");
    EXPECT_EQ(FlattenMessage("a\nb\rc"), "a | bc");
    EXPECT_EQ(FlattenMessage(""), "");
}

}  // namespace calvorin

namespace calvorin {

TEST(EscapeMarkup, ControlCharactersFromOutsideShowVisiblyInEveryLogLine) {
    const std::string hostile = "500 \x1b]0;PWNED\x07\x1b[2J\x1b[32mProcedura <b>terminata</b>";
    const std::string shown = "500 \\x1B]0;PWNED\\x07\\x1B[2J\\x1B[32mProcedura <b>terminata</b>";
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"EscapeMarkup", EscapeMarkup(hostile + "\nriga\r"), shown + "\\x0Ariga\\x0D"},
        {"FlattenMessage", EscapeMarkup(FlattenMessage(" " + hostile + "\r\nriga\t2 ")),
         shown + " | riga\\x092"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StyledLine line = ParseMarkup(c.text);
        ASSERT_EQ(line.segments.size(), 1u);
        EXPECT_EQ(line.segments[0].text, c.expected);
    }
}

TEST(EscapeMarkup, TextFromOutsideShowsExactlyAsItIs) {
    for (const char* text : {"C:\\<cartella>\\a&b.mdb", "&lt;", "&amp;gt;", "<b>no</b>",
                             "near \"<\": syntax error", "caff\xC3\xA8 & t\xC3\xA8"}) {
        SCOPED_TRACE(text);
        StyledLine line = ParseMarkup("<i>" + EscapeMarkup(text) + "</i>");
        std::string shown;
        for (const auto& segment : line.segments) {
            shown += segment.text;
            EXPECT_FALSE(segment.style.bold);
        }
        EXPECT_EQ(shown, text);
    }
}

}  // namespace calvorin
