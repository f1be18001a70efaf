// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/LocalTime.h"

#include <ctime>

namespace calvorin {

bool ToLocalTime(std::time_t moment, std::tm& out) {
    return ::localtime_s(&out, &moment) == 0;
}

}  // namespace calvorin
