// SPDX-License-Identifier: GPL-3.0-or-later
// Start-time texts in display and storage form: what matches, what is a valid date and time.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "starttimes/ParseDateTime.h"
#include "starttimes/TestDateTime.h"

namespace calvorin {
namespace {

using test::At;

enum class Outcome { Parsed, DateOnly, Untouched };

struct Case {
    const char* text;
    bool display;  // else storage
    Outcome outcome;
    LocalDateTime expected;  // for Parsed and DateOnly
};

TEST(ParseDateTimeTest, FollowsEveryDateAndTimeRule) {
    const LocalDateTime sentinel = At(2000, 1, 1, 12, 34, 56);
    const Case cases[] = {
        {"29/02/2020 15:00", true, Outcome::Parsed, At(2020, 2, 29, 15)},
        {"24/08/2019 18:00", true, Outcome::Parsed, At(2019, 8, 24, 18)},
        {"1/9/2019 9:5", true, Outcome::Parsed, At(2019, 9, 1, 9, 5)},
        {"31/12/9999 23:59", true, Outcome::Parsed, At(9999, 12, 31, 23, 59)},
        {"01/01/0001 00:00", true, Outcome::Parsed, At(1, 1, 1)},
        {"29/02/2019 15:00", true, Outcome::Untouched, {}},
        {"31/04/2020 10:00", true, Outcome::Untouched, {}},
        {"29/02/1900 10:00", true, Outcome::Untouched, {}},  // not a leap year
        {"00/08/2019 18:00", true, Outcome::Untouched, {}},
        {"24/13/2019 18:00", true, Outcome::Untouched, {}},
        {"24/08/0000 18:00", true, Outcome::Untouched, {}},
        {"24/08/2019 24:00", true, Outcome::DateOnly, At(2019, 8, 24)},
        {"24/08/2019 18:60", true, Outcome::DateOnly, At(2019, 8, 24)},
        {"24/08/2019 1 :00", true, Outcome::Untouched, {}},  // a blank in place of a digit
        {"24/08/19 18:00", true, Outcome::Untouched, {}},
        {"24-08-2019 18:00", true, Outcome::Untouched, {}},
        {" 24/08/2019 18:00", true, Outcome::Untouched, {}},
        {"24/08/2019 18:00\n", true, Outcome::Untouched, {}},  // the whole text, not a line of it
        {"124/08/2019 18:00", true, Outcome::Untouched, {}},
        {"", true, Outcome::Untouched, {}},
        {"2019-08-24 18.00", true, Outcome::Untouched, {}},
        {"2019-08-24 18.00", false, Outcome::Parsed, At(2019, 8, 24, 18)},
        {"2019-08-24 18.00.30", false, Outcome::Parsed, At(2019, 8, 24, 18, 0, 30)},
        {"2000-01-01 00.00.00", false, Outcome::Parsed, At(2000, 1, 1)},
        {"2019-8-24 18.00", false, Outcome::Untouched, {}},
        {"2019-08-24 18:00", false, Outcome::Untouched, {}},
        {"2019-08-24 18.00.", false, Outcome::Untouched, {}},
        {"2019-08-24 18.00.3", false, Outcome::Untouched, {}},
        {"2019-08-24 18.00\n", false, Outcome::Untouched, {}},
        {"2023-02-30 10.00", false, Outcome::Untouched, {}},
        {"2019-08-24 18.00.60", false, Outcome::DateOnly, At(2019, 8, 24)},
        {"2019-08-24 24.00", false, Outcome::DateOnly, At(2019, 8, 24)},
        {"24/08/2019 18:00", false, Outcome::Untouched, {}},
        // The corners of each form: leading zeros, widths, other scripts' digits, what follows.
        {"05/08/2019 08:05", true, Outcome::Parsed, At(2019, 8, 5, 8, 5)},
        {"005/08/2019 18:00", true, Outcome::Untouched, {}},
        {"24/08/2019 018:00", true, Outcome::Untouched, {}},
        {"24/08/2019 18:000", true, Outcome::Untouched, {}},
        {"24/08/20190 18:00", true, Outcome::Untouched, {}},
        {"24/08/201 18:00", true, Outcome::Untouched, {}},
        {"/08/2019 18:00", true, Outcome::Untouched, {}},
        {"24/08/2019 18:", true, Outcome::Untouched, {}},
        {"24/08/2019 18:00:00", true, Outcome::Untouched, {}},
        {"24/08/2019 18:00 ", true, Outcome::Untouched, {}},
        {"２4/08/2019 18:00", true, Outcome::Untouched, {}},  // fullwidth digit
        {"24/08/٢٠١٩ 18:00", true, Outcome::Untouched, {}},   // Arabic-Indic digits
        {"0001-01-01 00.00", false, Outcome::Parsed, At(1, 1, 1)},
        {"20190-08-24 18.00", false, Outcome::Untouched, {}},
        {"2019-08-24 18.0", false, Outcome::Untouched, {}},
        {"2019-08-24 18.00.300", false, Outcome::Untouched, {}},
        {"2019-08-24 18.00.30 ", false, Outcome::Untouched, {}},
        {"2019-08-24 18.00.30\n", false, Outcome::Untouched, {}},
        {"2019-08-24T18.00", false, Outcome::Untouched, {}},
        {"2019-08-24 18.00.٣٠", false, Outcome::Untouched, {}},
        {"-019-08-24 18.00", false, Outcome::Untouched, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.display ? "display: " : "storage: ") + c.text);
        LocalDateTime out = sentinel;
        bool ok = ParseDateTime(c.text, c.display ? DateTimeForm::Display : DateTimeForm::Storage, out);
        EXPECT_EQ(ok, c.outcome == Outcome::Parsed);
        EXPECT_EQ(out, c.outcome == Outcome::Untouched ? sentinel : c.expected) << out.LogForm();
    }
}

TEST(ParseDateTimeTest, StoredSecondsStayButTheGridShowsMinutes) {
    LocalDateTime out;
    ASSERT_TRUE(ParseDateTime("2019-08-24 18.00.30", DateTimeForm::Storage, out));
    EXPECT_EQ(out.Parts().second, 30);
    EXPECT_EQ(out.DisplayForm(), "24/08/2019 18:00");
}

}  // namespace
}  // namespace calvorin
