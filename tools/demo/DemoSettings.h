// SPDX-License-Identifier: GPL-3.0-or-later
// The demo league's Calvorin settings file, with every feature switched on.
#pragma once

#include "tools/demo/DemoEnvironment.h"

namespace calvorin::demo {

// Writes paths.pluginSettings: line-up submission with e-mail through SMTP, start-time export, backup and
// export upload with a password and random names; options that pass the checks of the OK button.
void WriteDemoSettings(const DemoPaths& paths);

}  // namespace calvorin::demo
