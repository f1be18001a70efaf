// SPDX-License-Identifier: GPL-3.0-or-later
// Colour thresholds read from FCM.ini, and the class of a value.
#include "lineup/ColorThresholds.h"

#include <gtest/gtest.h>

#include "platform/fs/Files.h"
#include "platform/text/Encoding.h"
#include "support/TempDir.h"

namespace calvorin {
namespace {

using test::TempDir;

double At(const ColorThresholds& t, int group, int color, int role) {
    return t.value[group][color][role];
}

TEST(LeggiSoglieColori, MissingFileOrNoSectionGivesDefaults) {
    TempDir dir;
    ThresholdsReading missing = LeggiSoglieColori(dir.path());
    EXPECT_FALSE(missing.fromFile);
    EXPECT_EQ(missing.thresholds.value, ColorThresholds::Defaults().value);

    WriteFileAtomic(dir / "FCM.ini", "VerdeSeMaggioreDiAtta=1\r\n");
    ThresholdsReading noSection = LeggiSoglieColori(dir.path());
    EXPECT_FALSE(noSection.fromFile);
    EXPECT_EQ(noSection.thresholds.value, ColorThresholds::Defaults().value);
}

TEST(LeggiSoglieColori, ReadsEveryKeyOfTheFirstSectionOnly) {
    TempDir dir;
    WriteFileAtomic(dir / "FCM.ini", Utf8ToCp1252(JoinCrlf({
                                         "[Impostazioni città]",
                                         "VerdeSeMaggioreDiAtta=9,5",
                                         "azzurrosemaggioredidife = 7.25",
                                         "RossoSeMinoreDiPort=",
                                         "MVRossoSeMinoreDiCent=sei",
                                         "FMAzzurroSeMaggioreDiPort=5,75",
                                         "[Altro]",
                                         "MVVerdeSeMaggioreDiAtta=1",
                                     })));
    const ThresholdsReading r = LeggiSoglieColori(dir.path());
    EXPECT_TRUE(r.fromFile);
    ColorThresholds expected = ColorThresholds::Defaults();
    expected.value[0][1][3] = 9.5;   // green, forward
    expected.value[0][0][1] = 7.25;  // blue, defender
    expected.value[2][0][0] = 5.75;  // FM blue, goalkeeper
    EXPECT_EQ(r.thresholds.value, expected.value);
    EXPECT_EQ(At(r.thresholds, 1, 1, 3), 6.2);  // from the second section: ignored
}

TEST(ColorThresholds, DefaultsAreTheDocumentedTable) {
    const ColorThresholds t = ColorThresholds::Defaults();
    EXPECT_EQ(At(t, 0, 0, 0), 6.5);
    EXPECT_EQ(At(t, 0, 2, 3), 5.0);
    EXPECT_EQ(At(t, 1, 1, 2), 6.25);
    EXPECT_EQ(At(t, 1, 2, 3), 5.9);
    EXPECT_EQ(At(t, 2, 0, 3), 7.15);
    EXPECT_EQ(At(t, 2, 1, 0), 5.9);
}

TEST(ColorThresholds, ClassOrderIsGreenThenBlueThenRed) {
    ColorThresholds t = ColorThresholds::Defaults();
    // A table where red overlaps blue: green and blue win over red.
    t.value[1][2][0] = 7.0;
    struct Case {
        double x;
        unsigned expected;
    };
    for (const Case c : {Case{6.4, 3}, Case{6.3, 2}, Case{6.25, 2}, Case{6.2, 1}, Case{8.0, 3}}) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(t.ClassOf(ThresholdGroup::AverageMark, 1, c.x), c.expected);
    }
    EXPECT_EQ(t.ClassOf(ThresholdGroup::AverageMark, 5, 10.0), 0u);
}

}  // namespace
}  // namespace calvorin
