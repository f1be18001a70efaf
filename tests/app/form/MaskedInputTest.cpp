// SPDX-License-Identifier: GPL-3.0-or-later
// The typing rules of an edit mask: keys typed into the start-time cell and what the cell then holds.
#include <gtest/gtest.h>

#include <string>

#include "app/form/MaskedInput.h"

namespace calvorin {
namespace {

const char* const kGridMask = R"(90\/90\/0000 90\:90)";
const char* const kShown = "24/08/2019 18:00";

// Plays keys: '\b' is Backspace, '\x7f' Delete, any other character is typed.
MaskedText Play(const MaskedInput& input, MaskedText state, std::string_view keys) {
    for (char key : keys)
        state = key == '\b'     ? input.Backspace(state)
                : key == '\x7f' ? input.Delete(state)
                                : input.Type(state, key);
    return state;
}

// The grid opens its editor on the cell's text, all selected: the first key replaces it.
TEST(MaskedInputTest, KeysTypedOverTheWholeCell) {
    MaskedInput input(kGridMask);
    struct Case {
        const char* keys;
        const char* text;
    } cases[] = {
        {"29/02/2020 15:00", "29/02/2020 15:00"},  // typed as shown, the blank too
        {"24/08/2019 24:00", "24/08/2019 24:00"},  // the form refuses the hour, not the keys
        {"01/09/2019 09:05", "01/09/2019 09:05"},
        {"1/9/2019 9:5", "1/9/2019 9:5"},      // a separator closes a one-digit field
        {"290220201500", "29/02/2020 15:00"},  // a full field passes the next digit on
        {"123", "12/3"},
        {"1/9/20191", "1/9/2019 1"},
        {"29/02/2020 15:001", "29/02/2020 15:00"},  // the last field takes no more
        {"1//", "1/"},                              // an empty month cannot be closed
        {"1/9/201 ", "1/9/201"},                    // nor a year of three digits
        {"1 :/", "1/"},                             // only the field's own separator
        {"a1.b2", "12"},
        {"29/0\b\b", "29"},  // Backspace takes a separator at the end with it
        {"29/0\b3", "29/3"},
        {"\b", ""},
        {"/", kShown},  // a refused key keeps even the selection
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        MaskedText all{kShown, 0, 16};
        MaskedText typed = Play(input, all, c.keys);
        EXPECT_EQ(typed.text, c.text);
        if (typed.text != kShown) {
            EXPECT_EQ(typed.cursor, typed.text.size());
        }
        EXPECT_TRUE(input.Fits(typed.text));
    }
    EXPECT_EQ(Play(input, {kShown, 0, 16}, "/"), (MaskedText{kShown, 0, 16}));
}

// Cursor positions in "24/08/2019 18:00": 2 before the first "/", 11 before the hour, 13 after it.
TEST(MaskedInputTest, KeysTypedInsideTheCell) {
    MaskedInput input(kGridMask);
    struct Case {
        const char* start;
        std::size_t cursor, anchor;
        const char* keys;
        const char* text;
        std::size_t cursorAfter;
    } cases[] = {
        {kShown, 13, 13, "\b5", "24/08/2019 15:00", 13},
        {kShown, 11, 11, "9", kShown, 11},             // a full field takes nothing in its middle
        {kShown, 2, 2, "5", kShown, 2},                // nor does the full month after it
        {"24/8/2019 18:00", 2, 2, "0", kShown, 4},     // but a month with room does
        {kShown, 11, 13, "9", "24/08/2019 9:00", 12},  // the selected hour replaced
        {kShown, 12, 12,
         ":\x7f"
         "3",
         "24/08/2019 18:30", 15},                            // ":" moves on to the minutes
        {kShown, 3, 3, "\b\b", "2/08/2019 18:00", 1},        // Backspace steps over an inner separator
        {kShown, 2, 2, "\x7f\x7f", "24/8/2019 18:00", 3},    // and so does Delete
        {kShown, 1, 4, "\x7f", "2/8/2019 18:00", 1},         // separators in a selection stay
        {kShown, 16, 3, "9/2019 9:5", "24/9/2019 9:5", 13},  // a selection to the end cuts there
        {"24/08/", 6, 6, "\x7f", "24/08/", 6},
        {"24/08/", 6, 6, "\b", "24/08", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " at " << c.cursor << ": " << c.keys);
        MaskedText typed = Play(input, {c.start, c.cursor, c.anchor}, c.keys);
        EXPECT_EQ(typed.text, c.text);
        EXPECT_EQ(typed.cursor, c.cursorAfter);
        EXPECT_EQ(typed.anchor, typed.cursor);
    }
}

TEST(MaskedInputTest, PastedTextIsTypedSkippingWhatDoesNotFit) {
    MaskedInput input(kGridMask);
    MaskedText all{kShown, 0, 16};
    EXPECT_EQ(input.Paste(all, "29/02/2020 15:00").text, "29/02/2020 15:00");
    EXPECT_EQ(input.Paste(all, " 1/9/2019 9:5\n").text, "1/9/2019 9:5");
    EXPECT_EQ(input.Paste({kShown, 11, 13}, "9").text, "24/08/2019 9:00");
    EXPECT_EQ(input.Paste(all, "mai"), all) << "nothing taken, nothing erased";
}

TEST(MaskedInputTest, TheShapeFollowsTheMask) {
    struct Case {
        const char* mask;
        const char* keys;
        const char* text;
    } cases[] = {
        {"00-00", "1-234", "12-34"},                // "0": the field needs both digits before "-"
        {"(000) 000;1;_", "12345678", "123) 456"},  // a separator of two; the ends of the mask are not typed
        {"\\9\\0", "90", ""},                       // escaped digits are literals: nothing to type
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        EXPECT_EQ(Play(MaskedInput(c.mask), {}, c.keys).text, c.text);
    }
    EXPECT_FALSE(MaskedInput("\\9\\0").HasFields());
    EXPECT_TRUE(MaskedInput(kGridMask).HasFields());

    MaskedInput grid(kGridMask);
    for (const char* text : {"", "24/", "24//2019", "1/9/2019 9:5", kShown})
        EXPECT_TRUE(grid.Fits(text)) << text;
    for (const char* text : {"123", " 1/ 9/2019  9: 5", "24/08/2019 18:00:00", "24/08/2019 180", "24-08"})
        EXPECT_FALSE(grid.Fits(text)) << text;
}

}  // namespace
}  // namespace calvorin
