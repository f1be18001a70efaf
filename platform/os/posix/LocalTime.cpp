// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/LocalTime.h"

namespace calvorin {

bool ToLocalTime(std::time_t moment, std::tm& out) {
    return ::localtime_r(&moment, &out) != nullptr;
}

}  // namespace calvorin
