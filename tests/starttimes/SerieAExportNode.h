// SPDX-License-Identifier: GPL-3.0-or-later
// What node, as the site's pages, reads in js/fcmSerieADati.js: for the Linux tests of the export.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SerieAExportFixture.h"
#include "support/Command.h"

namespace calvorin::test {

// What node sees in the written file, against what the table holds.
inline void ExpectNodeReadsTheTable(const std::filesystem::path& file, const Orari& orari) {
    std::string expected = "length 39 alias true zero true\n";
    for (int n = 1; n <= kMatchdays; ++n) {
        DateTimeParts p = orari[n - 1].Parts();
        expected += std::to_string(n) + " " + std::to_string(p.year) + " " + std::to_string(p.month) + " " +
                    std::to_string(p.day) + " " + std::to_string(p.hour) + " " + std::to_string(p.minute) +
                    " " + std::to_string(p.second) + "\n";
    }
    std::string script = CALVORIN_SOURCE_DIR "/tests/starttimes/read_serie_a.js";
    EXPECT_EQ(RunCommand("node " + ShellQuote(script) + " " + ShellQuote(file)).output, expected);
}

}  // namespace calvorin::test
