// SPDX-License-Identifier: GPL-3.0-or-later
// The one routine that turns a start-time text (display or storage form) into a date-time.
#pragma once

#include <string_view>

#include "starttimes/LocalDateTime.h"

namespace calvorin {

enum class DateTimeForm {
    // "dd/mm/yyyy hh:nn" with day, month, hour and minute of one or two digits: the grid's form.
    Display,
    // "yyyy-mm-dd hh.nn" with optional ".ss", every field of fixed width: the settings file, the
    // service's answer.
    Storage,
};

// Reads the whole text in the given form; the digits are ASCII digits and nothing may follow, not even a
// line feed. Returns true and sets `out` to the date and time when both are valid. A valid date with an
// invalid time sets `out` to that date at 00:00 and returns false. Text not in the form or an invalid
// date: returns false and leaves `out` untouched. Never throws.
bool ParseDateTime(std::string_view text, DateTimeForm form, LocalDateTime& out);

}  // namespace calvorin
