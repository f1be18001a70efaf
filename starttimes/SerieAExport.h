// SPDX-License-Identifier: GPL-3.0-or-later
// The start-time block that the program keeps at the end of the site's js/fcmSerieADati.js.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "plugin/log/Log.h"
#include "starttimes/LocalDateTime.h"
#include "starttimes/StartTimeTable.h"

namespace calvorin {

// The 42 lines of the block: two empty lines, the marker, "a=arrDateA" and one Date per matchday.
std::vector<std::string> SerieABlock(const std::array<LocalDateTime, kMatchdays>& orari);

// Replaces in `lines` the block an earlier run appended (from the first marker line to the end, and the
// blank lines right above it) with a new one.
void ReplaceSerieABlock(std::vector<std::string>& lines, const std::array<LocalDateTime, kMatchdays>& orari);

// Writes the heading to the log, then rewrites <siteFolder>/js/fcmSerieADati.js with the new block, in the
// file's own encoding, every line ending in CR LF. The file is FCM's: it is never created. Throws
// std::runtime_error when it is missing, unreadable or cannot be written; the file is then unchanged.
void EsportaOrariSerieA(const std::array<LocalDateTime, kMatchdays>& orari, const std::string& siteFolder,
                        Log& log);

}  // namespace calvorin
