// SPDX-License-Identifier: GPL-3.0-or-later
// The two folders the plug-in takes from FCM's own settings file, FCM.ini.
#pragma once

#include "plugin/PluginContext.h"
#include "plugin/log/Log.h"

namespace calvorin {

// Logs the step heading and, when FcmFolder + "/FCM.ini" exists, its path; then sets BackupFolder and
// ExportFolder from the keys "BackupCartella" and "EsportazioniLegaCartella" of the file's first section,
// whatever its name (trimmed; empty when missing). A missing file or one without sections changes
// nothing. Throws std::runtime_error when the file exists but cannot be read.
void LoadHostSettings(PluginContext& context, Log& log);

}  // namespace calvorin
