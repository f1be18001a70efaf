// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in start times, the matchday keys and the commit of an edited grid cell.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "starttimes/ParseDateTime.h"
#include "starttimes/StartTimeTable.h"
#include "starttimes/TestDateTime.h"

namespace calvorin {
namespace {

using test::At;

TEST(StartTimeTableTest, BuiltInDefaultsAreThe2019SeasonInStorageForm) {
    EXPECT_EQ(DefaultStartTimeText(1), "2019-08-24 18.00");
    EXPECT_EQ(DefaultStartTimeText(17), "2019-12-18 18.55");
    EXPECT_EQ(DefaultStartTimeText(38), "2020-05-23 18.00");
    LocalDateTime previous;
    for (int n = 1; n <= kMatchdays; ++n) {
        SCOPED_TRACE(n);
        LocalDateTime parsed;
        ASSERT_TRUE(ParseDateTime(DefaultStartTimeText(n), DateTimeForm::Storage, parsed));
        EXPECT_GT(parsed, previous);  // matchdays in order
        previous = parsed;
    }
    EXPECT_THROW(DefaultStartTimeText(0), std::out_of_range);
    EXPECT_THROW(DefaultStartTimeText(39), std::out_of_range);
}

TEST(StartTimeTableTest, DefaultServiceIsAnHttpAddressOfTheServiceScript) {
    std::string_view url = DefaultServiceUrl();
    EXPECT_TRUE(url.starts_with("http://"));
    EXPECT_TRUE(url.ends_with("/Calvorin_v2/services.php"));
}

TEST(StartTimeTableTest, GridKeysAndMask) {
    EXPECT_EQ(MatchdayKey(1), "1a");
    EXPECT_EQ(MatchdayKey(38), "38a");
    EXPECT_EQ(EditMask(), "90\\/90\\/0000 90\\:90");
}

TEST(StartTimeTableTest, MatchdayKeysReadBack) {
    for (int n = 1; n <= kMatchdays; ++n) EXPECT_EQ(MatchdayOfKey(MatchdayKey(n)), n);
    const struct {
        const char* key;
        std::optional<int> matchday;
    } cases[] = {
        {"01a", 1},  {"000008a", 8}, {"38a", 38},
        {"a", {}},   {"0a", {}},     {"39a", {}},
        {"1A", {}},  {"1b", {}},     {"1aa", {}},
        {" 2a", {}}, {"2a ", {}},    {"2a\n", {}},
        {"+2a", {}}, {"-1a", {}},    {"0x1a", {}},
        {"١a", {}},  {"１a", {}},    {"99999999999999999999a", {}},  // other scripts' digits, overflow
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(MatchdayOfKey(c.key), c.matchday);
    }
}

TEST(StartTimeTableTest, CommitStoresValidTextsAndRestoresInvalidOnes) {
    const LocalDateTime previous = At(2019, 8, 24, 18);
    struct Case {
        const char* text;
        bool stored;
        const char* shown;
    } cases[] = {
        {"29/02/2020 15:00", true, "29/02/2020 15:00"},
        {"1/9/2019 9:5", true, "01/09/2019 09:05"},
        {"29/02/2019 15:00", false, "24/08/2019 18:00"},
        {"31/04/2020 10:00", false, "24/08/2019 18:00"},
        {"24/08/2019 24:00", false, "24/08/2019 18:00"},  // a valid date alone is no commit either
        {"25/08/2019 18:60", false, "24/08/2019 18:00"},
        {"24/08/2019 1 :00", false, "24/08/2019 18:00"},
        {"", false, "24/08/2019 18:00"},
    };
    const LocalDateTime now = At(2024, 3, 5, 10, 11, 12);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        for (int row : {1, 38}) {
            StartTimeTable table;
            table.OrariSerieA[row - 1] = previous;
            table.UltimaModificaManuale = At(2000, 1, 1);
            std::string shown = CommitEditedStartTime(table, row, c.text, [&] { return now; });
            EXPECT_EQ(shown, c.shown);
            EXPECT_EQ(table.OrariSerieA[row - 1].DisplayForm(), c.shown);
            EXPECT_EQ(table.OrariSerieA[row - 1] != previous, c.stored);
            EXPECT_EQ(table.UltimaModificaManuale, now);                       // accepted or discarded alike
            EXPECT_EQ(table.OrariSerieA[row == 1 ? 1 : 36], LocalDateTime());  // other rows untouched
        }
    }
}

TEST(StartTimeTableTest, CommitRejectsRowsOutsideTheTable) {
    StartTimeTable table;
    auto now = [] { return At(2024, 1, 1); };
    EXPECT_THROW(CommitEditedStartTime(table, 0, "01/01/2020 10:00", now), std::out_of_range);
    EXPECT_THROW(CommitEditedStartTime(table, 39, "01/01/2020 10:00", now), std::out_of_range);
    EXPECT_EQ(table.UltimaModificaManuale, LocalDateTime());
}

}  // namespace
}  // namespace calvorin
