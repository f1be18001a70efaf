// SPDX-License-Identifier: GPL-3.0-or-later
// Lines of the submission script's settings file invform/invform.inc.php.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "lineup/FantasyTeams.h"
#include "lineup/JsDataFile.h"
#include "lineup/LineupOptions.h"

namespace calvorin {

void AddPhpHeader(Lines& php, std::string_view version);
void AddPhpDeadline(Lines& php, const LineupOptions& options);
void AddPhpPasswordsStart(Lines& php);
void AddPhpPassword(Lines& php, std::int64_t teamId, std::string_view hash);
void AddPhpPasswordsEnd(Lines& php);

// Adds the e-mail, saving and Telegram lines. `leagueName` names the sender when the typed one has no
// display name. Throws std::runtime_error "Occorre specificare l'indirizzo e-mail del Presidente di lega"
// when e-mail to the league president is on and no president address is known.
void AddPhpMessaging(Lines& php, const LineupOptions& options, const TeamDirectory& teams,
                     std::string_view leagueName, bool extended);

}  // namespace calvorin
