// SPDX-License-Identifier: GPL-3.0-or-later
// The update of the start-time table from the service, on request or automatically at start-up.
#pragma once

#include <functional>

#include "platform/http/HttpTransport.h"
#include "plugin/log/Log.h"
#include "starttimes/StartTimeTable.h"

namespace calvorin {

// Fetches the service's start times for the season and merges them into the table, logging each step.
// `byUser` false is the automatic run: it skips the table when the last manual edit is not older than the
// service's data. A user request always merges and then sets UltimaModificaManuale to the service's time.
// `rowChanged` is called with the matchday of every entry that changed, so the grid can show it.
// Never throws: every failure ends as a red KO line in the log, with the table as it was.
void AggiornaOrari(StartTimeTable& table, bool byUser, int seasonYear, HttpTransport& transport, Log& log,
                   const std::function<void(int row)>& rowChanged);

}  // namespace calvorin
