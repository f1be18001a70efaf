// SPDX-License-Identifier: GPL-3.0-or-later
// Packs FCM's backup and the league's export file into ZIP archives in the website's backup folder.
#pragma once

#include "archives/ArchiveOptions.h"
#include "plugin/PluginContext.h"
#include "plugin/log/Log.h"

namespace calvorin {

// Creates SiteFolder/backup when missing, then builds FcmBackup[_token].zip when the backup upload is on
// and FcmExport[_token].zip when the export upload is on, each under a temporary name renamed into place
// when complete; only then deletes the previous archives. Writes its sub-step lines to the log.
// Returns true on success. Every error is caught here: it is logged as a KO line with its message and
// false is returned; the archive being written when the error came is removed, the previous archives
// stay.
bool BuildArchives(const ArchiveOptions& options, const PluginContext& context, Log& log);

}  // namespace calvorin
