// SPDX-License-Identifier: GPL-3.0-or-later
// The step heading, OK and KO lines every step writes.
#include "plugin/log/Log.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

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

// Records what the log reports of a step's progress.
class ProgressSink : public MemoryLogSink {
  public:
    void ShowProgress(const ProgressState& state) override { shown.push_back(state); }
    void EndProgress() override { ++ended; }
    std::vector<ProgressState> shown;
    int ended = 0;
};

TEST(Log, ProgressReachesTheSinkAtMostTenTimesASecondAndAlwaysAtTheEnd) {
    ProgressSink sink;
    int afterLine = 0;
    Log log(sink, [&] { ++afterLine; });
    const auto start = std::chrono::steady_clock::now();
    constexpr std::uint64_t kTotal = 200000;
    for (std::uint64_t done = 0; done <= kTotal; ++done) log.Progress(done, kTotal);
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_FALSE(sink.shown.empty());
    EXPECT_EQ(sink.shown.front().done, 0u) << "the first call is shown at once";
    EXPECT_EQ(sink.shown.back().done, kTotal) << "the end is always shown";
    EXPECT_EQ(sink.shown.back().Percent(), 100);
    EXPECT_LE(sink.shown.size(), static_cast<std::size_t>(elapsed * 10) + 2);
    EXPECT_EQ(afterLine, static_cast<int>(sink.shown.size())) << "the window processes events at each report";
    log.EndProgress();
    log.EndProgress();
    EXPECT_EQ(sink.ended, 1);
    EXPECT_EQ(sink.Text(), "") << "progress writes no log line";
}

TEST(Log, ProgressTextShowsPercentThenSpeedAndTimeLeftOnceKnown) {
    struct Case {
        ProgressState state;
        const char* text;
    } cases[] = {
        {{0, 1000, 0, -1}, "0%"},
        {{455, 1000, 0, -1}, "45%"},
        {{500, 1000, 12.34e6, 8.4}, "50% - 12.3 MB/s - 8 s rimanenti"},
        {{1, 3, 2.5e6, 125}, "33% - 2.5 MB/s - 2 min 05 s rimanenti"},
        {{1000, 1000, 99e6, 0}, "100% - 99.0 MB/s - 0 s rimanenti"},
        {{5, 0, 0, -1}, "100%"},
        {{1500, 1000, 1e6, 0}, "100% - 1.0 MB/s - 0 s rimanenti"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.state.Text(), c.text);
    }
}

}  // namespace
}  // namespace calvorin
