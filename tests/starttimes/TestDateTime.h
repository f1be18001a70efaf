// SPDX-License-Identifier: GPL-3.0-or-later
// Date-times written the way the tests think of them.
#pragma once

#include <stdexcept>

#include "starttimes/LocalDateTime.h"

namespace calvorin::test {

inline LocalDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    auto value = LocalDateTime::FromParts({year, month, day, hour, minute, second});
    if (!value) throw std::invalid_argument("invalid test date-time");
    return *value;
}

}  // namespace calvorin::test
