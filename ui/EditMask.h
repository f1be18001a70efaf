// SPDX-License-Identifier: GPL-3.0-or-later
// Translation of the form's edit masks into Qt's input-mask syntax.
#pragma once

#include <QString>
#include <string_view>

namespace calvorin {

// Returns the Qt input mask for a form edit mask. In the form's masks "0" is a required digit, "9" an
// optional digit and "\" makes the next character literal; Qt has the two digit letters the other way
// round ("9" required, "0" optional). Other characters are kept as literals (escaped where Qt would read
// them as mask letters). The mask's optional ";..." sections are dropped. Masks are ASCII. Never fails.
QString QtInputMask(std::string_view formMask);

}  // namespace calvorin
