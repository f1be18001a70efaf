// SPDX-License-Identifier: GPL-3.0-or-later
// The line-up submission generator: league database in, the page's data file and the script's settings out.
#pragma once

#include "lineup/LineupOptions.h"
#include "plugin/PluginContext.h"
#include "plugin/log/Log.h"

namespace calvorin {

// Reads the league database (read-only) and writes SiteFolder/js/fcmInvioFormazioneDati.js, then
// SiteFolder/invform/invform.inc.php, each replaced atomically, logging every phase. Returns true when
// both files were written; on any failure (a league value out of the bounds of LeagueValueBounds.h among
// them) logs "KO" with the message and returns false. Nothing is written when the failure comes before
// the first file; a failure writing the second leaves the first.
// Never throws.
bool GeneraDatiInvioFormazione(const LineupOptions& options, const PluginContext& context, Log& log);

}  // namespace calvorin
