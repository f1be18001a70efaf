// SPDX-License-Identifier: GPL-3.0-or-later
// Copies of the window's options in the form each generator takes them.
#pragma once

#include "archives/ArchiveOptions.h"
#include "lineup/LineupOptions.h"

namespace calvorin {

class TMainForm;

// The line-up submission options as the controls hold them now.
LineupOptions LineupOptionsFromForm(const TMainForm& form);

// The upload options as the controls hold them now.
ArchiveOptions ArchiveOptionsFromForm(const TMainForm& form);

}  // namespace calvorin
