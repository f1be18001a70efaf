// SPDX-License-Identifier: GPL-3.0-or-later
// "/batch": the whole job without a window, for scheduled runs and tests.
#pragma once

#include <string>
#include <vector>

namespace calvorin {

// Exit statuses of a batch run.
enum BatchStatus {
    kBatchSucceeded = 0,   // the success line was written and the settings saved
    kBatchInvalid = 1,     // invalid arguments, a validation message, or nothing enabled
    kBatchCancelled = 2,   // a step failed: "Operazione annullata"
    kBatchSaveFailed = 3,  // the settings could not be loaded (nothing ran) or saved (after every step)
};

// True when one of the arguments is "/batch" (any letter case).
bool WantsBatch(const std::vector<std::string>& arguments);

// Runs start-up, showing (settings, automatic start-time update) and "OK" without a window: the log goes
// to standard output, messages to standard error. Returns a BatchStatus.
int RunBatch(const std::vector<std::string>& arguments);

}  // namespace calvorin
