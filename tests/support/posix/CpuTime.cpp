// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/CpuTime.h"

#include <time.h>

namespace calvorin::test {
namespace {

double SecondsOf(clockid_t clock) {
    timespec t{};
    ::clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

double ThreadCpuSeconds() {
    return SecondsOf(CLOCK_THREAD_CPUTIME_ID);
}

double ProcessCpuSeconds() {
    return SecondsOf(CLOCK_PROCESS_CPUTIME_ID);
}

}  // namespace calvorin::test
