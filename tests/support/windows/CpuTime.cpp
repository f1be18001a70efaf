// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/CpuTime.h"

#include <windows.h>

namespace calvorin::test {
namespace {

double Seconds(const FILETIME& time) {
    const auto ticks = (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<double>(ticks) / 1e7;  // 100 ns ticks
}

}  // namespace

double ThreadCpuSeconds() {
    FILETIME created{}, ended{}, kernel{}, user{};
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user)) return 0;
    return Seconds(kernel) + Seconds(user);
}

double ProcessCpuSeconds() {
    FILETIME created{}, ended{}, kernel{}, user{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
    return Seconds(kernel) + Seconds(user);
}

}  // namespace calvorin::test
