// SPDX-License-Identifier: GPL-3.0-or-later
// Copies of the window's options in the form each generator takes them.
#pragma once

#include <array>
#include <optional>

#include "archives/ArchiveOptions.h"
#include "lineup/LineupOptions.h"
#include "settings/IniFile.h"
#include "starttimes/StartTimeTable.h"

namespace calvorin {

class TMainForm;

// The line-up submission options as the controls hold them now.
LineupOptions LineupOptionsFromForm(const TMainForm& form);

// The upload options as the controls hold them now.
ArchiveOptions ArchiveOptionsFromForm(const TMainForm& form);

// What one press of "OK" runs and then saves, taken from the controls at that moment: nothing done in the
// window while the run lasts reaches it. An empty option is a feature that does not run.
struct RunPlan {
    std::optional<LineupOptions> lineup;
    std::optional<std::array<LocalDateTime, kMatchdays>> startTimes;
    std::optional<ArchiveOptions> archives;
    bool variablesFile = true;
    IniFile settings;
};

RunPlan RunPlanFromForm(TMainForm& form);

}  // namespace calvorin
