// SPDX-License-Identifier: GPL-3.0-or-later
// Colour thresholds of the score summary: FCM's own settings, with built-in defaults.
#include "lineup/ColorThresholds.h"

#include <exception>
#include <string>

#include "platform/text/Decimal.h"
#include "settings/IniFile.h"

namespace calvorin {

namespace {

constexpr const char* kGroupPrefixes[] = {"", "MV", "FM"};
constexpr const char* kColorKeys[] = {"AzzurroSeMaggioreDi", "VerdeSeMaggioreDi", "RossoSeMinoreDi"};
constexpr const char* kRoleSuffixes[] = {"Port", "Dife", "Cent", "Atta"};
enum Color { kBlue = 0, kGreen = 1, kRed = 2 };

}  // namespace

ColorThresholds ColorThresholds::Defaults() {
    ColorThresholds t;
    t.value[0] = {{{6.5, 7.0, 7.0, 8.0}, {7.0, 7.5, 7.5, 9.0}, {3.0, 5.0, 5.0, 5.0}}};
    t.value[1] = {{{6.25, 6.05, 6.1, 6.05}, {6.4, 6.2, 6.25, 6.2}, {6.15, 5.95, 6.0, 5.9}}};
    t.value[2] = {{{5.7, 6.05, 6.4, 7.15}, {5.9, 6.3, 6.7, 7.5}, {5.65, 5.85, 6.0, 6.6}}};
    return t;
}

unsigned ColorThresholds::ClassOf(ThresholdGroup group, std::int64_t role, double x) const {
    if (role < 1 || role > 4) return 0;
    const auto& g = value[static_cast<std::size_t>(group)];
    const auto r = static_cast<std::size_t>(role - 1);
    if (x >= g[kGreen][r]) return 3;
    if (x >= g[kBlue][r]) return 2;
    if (x <= g[kRed][r]) return 1;
    return 0;
}

ThresholdsReading LeggiSoglieColori(const std::filesystem::path& fcmFolder) {
    ThresholdsReading reading{ColorThresholds::Defaults(), false, {}};
    IniFile ini;
    try {
        ini = IniFile::Load(fcmFolder / "FCM.ini");
    } catch (const std::exception& e) {
        reading.readError = e.what();
        return reading;
    }
    const auto sections = ini.Sections();
    if (sections.empty()) return reading;
    reading.fromFile = true;
    for (int g = 0; g < 3; ++g)
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 4; ++r) {
                const std::string key = std::string(kGroupPrefixes[g]) + kColorKeys[c] + kRoleSuffixes[r];
                const auto text = ini.ReadValue(sections.front(), key);
                if (!text) continue;
                if (const auto number = ParseDecimal(*text)) reading.thresholds.value[g][c][r] = *number;
            }
    return reading;
}

}  // namespace calvorin
