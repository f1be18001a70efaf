// SPDX-License-Identifier: GPL-3.0-or-later
// The step heading, OK and KO lines every step writes.
#include "plugin/log/Log.h"

#include <gtest/gtest.h>

#include <string>

namespace calvorin {
namespace {

constexpr Rgb kNavy{0, 0, 128}, kGreen{0, 128, 0}, kRed{255, 0, 0};

TEST(Log, HeadingIsABlankLineThenABoldNavyBulletTitle) {
    MemoryLogSink sink;
    Log log(sink);
    log.WriteHeading("Generazione file <i>fcmVariabiliCalvorin.js</i>");
    EXPECT_EQ(sink.Text(), "\n• Generazione file fcmVariabiliCalvorin.js\n");
    const StyledLine& line = sink.Lines().at(0);
    for (const LogSegment& segment : line.segments) {
        if (segment.text == "\n") continue;
        SCOPED_TRACE(segment.text);
        EXPECT_EQ(segment.style.color, kNavy);
        EXPECT_TRUE(segment.style.bold);
        EXPECT_EQ(segment.style.italic, segment.text == "fcmVariabiliCalvorin.js");
    }
}

TEST(Log, OkAndKoLinesKeepTheirIndentAndShowOutsideTextAsItIs) {
    struct Case {
        void (*write)(Log&);
        const char* text;
        Rgb color;
    } cases[] = {
        {[](Log& log) { log.WriteOk(4); }, "    OK", kGreen},
        {[](Log& log) { log.WriteOk(2, "aggiornati 3 orari"); }, "  OK: aggiornati 3 orari", kGreen},
        {[](Log& log) { log.WriteKo(4, "  Impossibile <b>aprire</b>\r\nil file  "); },
         "    KO: Impossibile <b>aprire</b> | il file", kRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MemoryLogSink sink;
        Log log(sink);
        c.write(log);
        EXPECT_EQ(sink.LastLine(), c.text);
        const StyledLine& line = sink.Lines().at(0);
        ASSERT_GE(line.segments.size(), 2u);
        EXPECT_EQ(line.segments[1].text, c.color == kGreen ? "OK" : "KO");
        EXPECT_EQ(line.segments[1].style.color, c.color);
        EXPECT_FALSE(line.segments.back().style.bold);
    }
}

}  // namespace
}  // namespace calvorin
