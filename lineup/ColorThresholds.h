// SPDX-License-Identifier: GPL-3.0-or-later
// Colour thresholds of the score summary: FCM's own settings, with built-in defaults.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace calvorin {

// Which value a threshold applies to; the order is that of the keys' group prefixes "", "MV", "FM".
enum class ThresholdGroup { LastFantasyMark = 0, AverageMark = 1, AverageFantasyMark = 2 };

// 3 groups x 3 colours (blue, green, red) x 4 roles.
struct ColorThresholds {
    std::array<std::array<std::array<double, 4>, 3>, 3> value;

    // The values FCM uses when its settings give none.
    static ColorThresholds Defaults();

    // Returns 3 (green) when x >= the green threshold, else 2 (blue) when x >= the blue one, else 1 (red)
    // when x <= the red one, else 0. A role outside 1 to 4 has no colour (0).
    unsigned ClassOf(ThresholdGroup group, std::int64_t role, double x) const;
};

struct ThresholdsReading {
    ColorThresholds thresholds;
    bool fromFile = false;  // FCM.ini exists and has at least one section
    std::string readError;  // why FCM.ini, which exists, could not be read; empty otherwise
};

// Reads the thresholds from the first section of FCM.ini in `fcmFolder`; a key that is missing, empty or
// no number keeps its default, and a missing file, one without sections or one that cannot be read gives
// all defaults. The colours are a nicety: they never stop the files from being written.
ThresholdsReading LeggiSoglieColori(const std::filesystem::path& fcmFolder);

}  // namespace calvorin
