// SPDX-License-Identifier: GPL-3.0-or-later
// The one routine that turns a start-time text (display or storage form) into a date-time.
#pragma once

#include <optional>
#include <string_view>

#include "platform/regex/Regex.h"
#include "starttimes/LocalDateTime.h"

namespace calvorin {

// Returns the match when the pattern matches the whole text. Unlike a bare "$", a final line feed is not
// let through.
std::optional<RegexMatch> MatchWhole(const Regex& pattern, std::string_view text);

// "dd/mm/yyyy hh:nn" with day, month, hour and minute of one or two digits: the grid's form.
const Regex& DisplayPattern();

// "yyyy-mm-dd hh.nn" with optional ".ss": the settings file, the service's answer.
const Regex& StoragePattern();

// Matches the whole text against the pattern (named groups y, m, d, h, n and optional s).
// Returns true and sets `out` to the date and time when both are valid. A valid date with an invalid
// time sets `out` to that date at 00:00 and returns false. No match or an invalid date: returns false and
// leaves `out` untouched. Never throws.
bool ParseDateTime(std::string_view text, const Regex& pattern, LocalDateTime& out);

}  // namespace calvorin
