// SPDX-License-Identifier: GPL-3.0-or-later
// The local wall-clock time of a moment, as the system's time zone gives it.
#pragma once

#include <ctime>

namespace calvorin {

// Breaks `moment` down into local time. False when the system cannot (a moment out of its range).
bool ToLocalTime(std::time_t moment, std::tm& out);

}  // namespace calvorin
