// SPDX-License-Identifier: GPL-3.0-or-later
// The checks made on the options before a run starts.
#pragma once

#include <optional>
#include <string>

namespace calvorin {

class TMainForm;

// Trims the texts of the fields a run reads (passwords and keys excepted) and writes them back.
void TidyOptions(TMainForm& form);

// Returns the message of the first rule the options break, or nothing when a run may start.
std::optional<std::string> FirstValidationFailure(const TMainForm& form);

}  // namespace calvorin
