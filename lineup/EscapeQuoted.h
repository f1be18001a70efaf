// SPDX-License-Identifier: GPL-3.0-or-later
// Quoting of texts written inside string literals of the generated JavaScript and PHP files.
#pragma once

#include <string>
#include <string_view>

namespace calvorin {

// Returns the text with a backslash put before every `quote` character and every backslash; all other
// characters are unchanged. Makes a text safe inside a PHP single-quoted string (quote '\'').
std::string EscapeQuoted(std::string_view text, char quote);

// Returns the text ready for a JavaScript double-quoted string: EscapeQuoted with '"', and every control
// character written as an escape ("\n", "\r", "\t", else "\xHH"), since a raw line break ends the literal.
std::string EscapeJsString(std::string_view text);

}  // namespace calvorin
