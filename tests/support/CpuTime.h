// SPDX-License-Identifier: GPL-3.0-or-later
// CPU time used, for benchmarks on a shared machine, where wall time would count the other processes.
#pragma once

namespace calvorin::test {

// Seconds of CPU (user and system) the calling thread has used so far.
double ThreadCpuSeconds();

// Seconds of CPU (user and system) the whole process has used so far.
double ProcessCpuSeconds();

}  // namespace calvorin::test
