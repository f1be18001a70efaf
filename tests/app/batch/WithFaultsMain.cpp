// SPDX-License-Identifier: GPL-3.0-or-later
// The program in /batch with CALVORIN_FAULT_CRASH_AT or CALVORIN_FAULT_FAIL_AT obeyed, for the tests that
// end a run at each write in turn. The shipped program reads neither.
#include "app/batch/BatchMode.h"
#include "platform/os/Process.h"
#include "support/FaultInjection.h"

int main(int argc, char** argv) {
    calvorin::test::InstallFaultsFromEnvironment();
    return calvorin::RunBatch(calvorin::ProgramArguments(argc, argv));
}
