// SPDX-License-Identifier: GPL-3.0-or-later
// Base marks, bonus points and the "%"-separated season summary of a player.
#include "lineup/ScoreSummary.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>

namespace calvorin {
namespace {

constexpr double M = kNoMark;

ScoreRow Marks(double v1, double v2, double v3, std::int64_t matchday = 1) {
    ScoreRow r;
    r.voto = {v1, v2, v3};
    r.giornata = matchday;
    return r;
}

CompetitionRules Sources(bool s1, bool s2, bool s3, std::int64_t rule2 = 0, std::int64_t rule3vv = 0,
                         std::int64_t rule3v = 0) {
    CompetitionRules r;
    r.usaQuot = {s1, s2, s3};
    r.risVoti2VSV = rule2;
    r.risVoti3VVSV = rule3vv;
    r.risVoti3VSVSV = rule3v;
    return r;
}

TEST(BaseMark, FollowsTheSourceRules) {
    struct Case {
        const char* name;
        CompetitionRules rules;
        ScoreRow row;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"no source used: 0, marked", Sources(false, false, false), Marks(M, M, M), 0.0},
        {"one source present", Sources(false, true, false), Marks(5, 7, 4), 7.0},
        {"one source missing", Sources(false, true, false), Marks(5, M, 4), std::nullopt},
        {"two present: average", Sources(true, false, true), Marks(6, 9, 7), 6.5},
        {"two, one missing, rule 0", Sources(true, true, false, 0), Marks(7, M, 4), 7.0},
        {"two, one missing, rule 1", Sources(true, true, false, 1), Marks(7, M, 4), 6.5},
        {"two, one missing, rule 2", Sources(true, true, false, 2), Marks(7, M, 4), std::nullopt},
        {"two, first missing, rule 1", Sources(false, true, true, 1), Marks(9, M, 8), 7.0},
        {"two, none present", Sources(true, true, false, 1), Marks(M, M, 4), std::nullopt},
        {"three present", Sources(true, true, true), Marks(6, 7, 8.5), 21.5 / 3},
        {"three, one missing, rule 0", Sources(true, true, true, 2, 0, 2), Marks(6, 7, M), 6.5},
        {"three, one missing, rule 1", Sources(true, true, true, 2, 1, 2), Marks(6, 7, M), 19.0 / 3},
        {"three, one missing, rule 2", Sources(true, true, true, 0, 2, 0), Marks(6, 7, M), std::nullopt},
        {"three, two missing, rule 0", Sources(true, true, true, 2, 2, 0), Marks(M, 5.5, M), 5.5},
        {"three, two missing, rule 1", Sources(true, true, true, 2, 2, 1), Marks(6, M, M), 6.0},
        {"three, two missing, rule 2", Sources(true, true, true, 0, 0, 2), Marks(6, M, M), std::nullopt},
        {"three, none present", Sources(true, true, true, 1, 1, 1), Marks(M, M, M), std::nullopt},
        {"unknown rule code acts as 0", Sources(true, true, false, 7), Marks(7, M, 4), 7.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto mark = BaseMark(c.row, c.rules);
        ASSERT_EQ(mark.has_value(), c.expected.has_value());
        if (mark) {
            EXPECT_DOUBLE_EQ(*mark, *c.expected);
        }
    }
}

CompetitionRules BonusRules() {
    CompetitionRules r = Sources(true, false, false);
    r.bonus.golFatto = {0, 5, 4.5, 3.5, 3};
    r.bonus.golFattoRig = {0, 2.5, 2.5, 2.5, 2};
    r.bonus.golVittoria = 1;
    r.bonus.golPareggio = 0.5;
    r.bonus.golSubito = -1;
    r.bonus.golSubitoRigore = -0.75;
    r.bonus.autogol = -2;
    r.bonus.assist = 1;
    r.bonus.rigSba = -3;
    r.bonus.rigPar = 3;
    r.bonus.amm = -0.5;
    r.bonus.esp = -1;
    r.bonus.port0Gol = 1.25;
    return r;
}

TEST(BonusPoints, CountEveryEventByRole) {
    const CompetitionRules rules = BonusRules();
    ScoreRow cleanSheet = Marks(6, 0, 0);
    ScoreRow conceded = cleanSheet;
    conceded.golSubiti = 2;
    conceded.golSubitiSuRigore = 1;
    conceded.rigPar = 1;
    ScoreRow forward = Marks(7, 0, 0);
    forward.golFatti = {3, 0, 0};  // two from open play, one penalty
    forward.golFattiSuRigore = {1, 0, 0};
    forward.golVittoria = true;
    forward.assist = 2;
    forward.amm = true;
    forward.valoreSpeciale = 0.25;
    ScoreRow unlucky = Marks(5, 0, 0);
    unlucky.autogol = {1, 0, 0};
    unlucky.rigSba = 1;
    unlucky.esp = true;
    unlucky.golPareggio = true;
    struct Case {
        const char* name;
        ScoreRow row;
        std::int64_t role;
        double expected;
    };
    const Case cases[] = {
        {"goalkeeper clean sheet", cleanSheet, 1, 1.25},
        {"defender gets no clean-sheet points", cleanSheet, 2, 0},
        {"goalkeeper conceding one of two on a penalty", conceded, 1, -1 - 0.75 + 3},
        {"forward", forward, 4, 2 * 3 + 2 + 1 + 2 - 0.5 + 0.25},
        {"midfielder with the same row", forward, 3, 2 * 3.5 + 2.5 + 1 + 2 - 0.5 + 0.25},
        {"own goal, missed penalty, sending-off", unlucky, 3, -2 - 3 - 1 + 0.5},
        {"unknown role: no per-role points", forward, 0, 1 + 2 - 0.5 + 0.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(BonusPointsOf(c.row, rules, c.role), c.expected);
    }
}

TEST(BonusPoints, GoalsComeFromTheChosenSourceOrTheirRoundedAverage) {
    CompetitionRules rules = BonusRules();
    ScoreRow row = Marks(6, 6, 6);
    struct Case {
        std::int64_t usaTabellino;
        std::array<std::int64_t, 3> goals;
        double expected;
    };
    const Case cases[] = {{1, {1, 0, 0}, 3}, {2, {1, 0, 2}, 0}, {3, {1, 0, 2}, 6},
                          {4, {1, 1, 0}, 3}, {4, {1, 0, 0}, 0}, {5, {2, 2, 1}, 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "UsaTabellino " << c.usaTabellino << " goals " << c.goals[0]
                                        << c.goals[1] << c.goals[2]);
        rules.usaTabellino = c.usaTabellino;
        row.golFatti = c.goals;
        EXPECT_DOUBLE_EQ(BonusPointsOf(row, rules, 4), c.expected);
    }
}

// Counts of a hostile league must neither overflow (undefined in integers) nor wrap into small numbers.
TEST(BonusPoints, ExtremeCountsAddUpWithoutWrapping) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    CompetitionRules rules = BonusRules();
    rules.bonus = {};
    rules.bonus.golSubito = 1;
    ScoreRow conceded = Marks(6, 0, 0);
    conceded.golSubiti = kMin;
    conceded.golSubitiSuRigore = kMax;
    EXPECT_EQ(BonusPointsOf(conceded, rules, 2), -0x1p64);

    rules.bonus = {};
    rules.bonus.golFatto = {0, 1, 1, 1, 1};
    rules.usaTabellino = 4;  // the rounded average of the three sources
    ScoreRow scorer = Marks(6, 6, 6);
    scorer.golFatti = {kMax, kMax, kMax};
    EXPECT_EQ(BonusPointsOf(scorer, rules, 4), 0x1p63);
}

TEST(FormatMark, WritesEvenTheLargestNumbersWhole) {
    const std::string largest = FormatMark(-std::numeric_limits<double>::max());
    EXPECT_EQ(largest.size(), 314u);
    EXPECT_TRUE(largest.starts_with("-17976931348623157"));
    EXPECT_TRUE(largest.ends_with(".000"));
}

struct SummaryFixture : testing::Test {
    CompetitionRules rules = [] {
        CompetitionRules r = Sources(true, false, false);
        r.bonus.golFatto = {0, 3, 3, 3, 3};
        return r;
    }();
    ColorThresholds thresholds = ColorThresholds::Defaults();
    SummaryContext context{rules, thresholds, 3};

    std::string Summary(const std::vector<ScoreRow>& rows, std::int64_t role = 3, std::string_view s = "") {
        return SummarizeScores(rows, role, s, context);
    }
};

TEST_F(SummaryFixture, PlayerWithoutRowsHasNoData) {
    EXPECT_EQ(Summary({}), "0%%---%0%---%0%---%0%---%0");
    EXPECT_EQ(Summary({}, 4, "3"), "0%3%---%0%---%0%---%0%---%0");
}

TEST_F(SummaryFixture, LastPlayedMatchdayWithAGoal) {
    ScoreRow row = Marks(6.5, 0, 0, 3);
    row.golFatti = {1, 0, 0};
    // Averages: 6.5 is green for a midfielder (6.25), 9.5 green for the fantasy mark (6.7); last
    // matchday: fantasy mark 9.5 against green 7.5.
    EXPECT_EQ(Summary({row}), "100%%6.500%3%9.500%3%6.500%0%9.500%3");
}

TEST_F(SummaryFixture, RowsWithoutMarksInTheLastMatchday) {
    // A midfielder's 6.0 equals both red thresholds (MV 6.0, FM 6.0): class 1.
    EXPECT_EQ(Summary({Marks(6, 0, 0, 1), Marks(0, 6, 6, 3)}), "100%%6.000%1%6.000%1%sv/ng%0%sv/ng%0");
    EXPECT_EQ(Summary({Marks(6, 0, 0, 1), Marks(M, 6, 6, 3)}), "50%%6.000%1%6.000%1%sv/ng%0%sv/ng%0");
    EXPECT_EQ(Summary({Marks(M, 0, 0, 1)}), "0%%---%0%---%0%---%0%---%0");
}

TEST_F(SummaryFixture, PercentageRoundsHalvesUp) {
    struct Case {
        int marked, counted, expected;
    };
    for (const Case c : {Case{2, 3, 67}, Case{7, 10, 70}, Case{1, 8, 13}, Case{1, 3, 33}, Case{5, 5, 100}}) {
        SCOPED_TRACE(testing::Message() << c.marked << " of " << c.counted);
        std::vector<ScoreRow> rows;
        for (int i = 0; i < c.counted; ++i) rows.push_back(Marks(i < c.marked ? 6 : M, 0, 0, 1));
        EXPECT_EQ(Summary(rows).substr(0, Summary(rows).find('%')), std::to_string(c.expected));
    }
}

TEST_F(SummaryFixture, ClassesIncludeTheThresholdsThemselves) {
    // Forward, group without prefix: green 9.0, blue 8.0, red 5.0.
    struct Case {
        double fantasyMark;
        const char* lastPart;
    };
    const Case cases[] = {{9.0, "9.000%3"}, {8.0, "8.000%2"}, {5.0, "5.000%1"}, {7.0, "7.000%0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fantasyMark);
        const std::string summary = Summary({Marks(c.fantasyMark, 0, 0, 3)}, 4);
        EXPECT_EQ(summary.substr(summary.size() - std::string(c.lastPart).size()), c.lastPart);
    }
}

TEST_F(SummaryFixture, AveragesUseEveryMarkedRow) {
    // Goalkeeper: marks 6 and 7 average 6.5 (MV green 6.4: class 3); fantasy marks equal the marks.
    // FM group for a goalkeeper: green 5.9, so class 3.
    EXPECT_EQ(Summary({Marks(6, 0, 0, 1), Marks(7, 0, 0, 2), Marks(0, 0, 0, 3)}, 1),
              "100%%6.500%3%6.500%3%sv/ng%0%sv/ng%0");
}

TEST_F(SummaryFixture, AveragesExactlyHalfwayRoundUpAsPeopleRound) {
    // 50.5 / 8 = 6.3125 exactly: a player reads 6.313, not the C library's 6.312.
    std::vector<ScoreRow> rows;
    for (double mark : {6.0, 6.0, 6.0, 6.0, 6.0, 6.0, 7.0, 7.5}) rows.push_back(Marks(mark, 0, 0, 1));
    EXPECT_EQ(Summary(rows, 4), "100%%6.313%3%6.313%1%---%0%---%0");
}

TEST(FormatMark, AlwaysWritesAPointWithThreeDecimals) {
    const char* saved = std::setlocale(LC_NUMERIC, nullptr);
    const std::string previous = saved ? saved : "C";
    // A comma locale must not leak into the file (only when the machine has one).
    std::setlocale(LC_NUMERIC, "it_IT.UTF-8");
    EXPECT_EQ(FormatMark(6.5), "6.500");
    EXPECT_EQ(FormatMark(19.0 / 3), "6.333");
    EXPECT_EQ(FormatMark(-1.25), "-1.250");
    EXPECT_EQ(FormatMark(0.0005), "0.001");
    std::setlocale(LC_NUMERIC, previous.c_str());
}

}  // namespace
}  // namespace calvorin
