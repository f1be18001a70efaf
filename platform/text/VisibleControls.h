// SPDX-License-Identifier: GPL-3.0-or-later
// The visible form of control characters, for text from outside that reaches the log or a terminal.
#pragma once

#include <string>
#include <string_view>

namespace calvorin {

// Returns the text with every character that could steer a terminal or a text view written visibly:
// C0 controls and DEL as "\x1B" (two upper-case hexadecimal digits), C1 controls, the line and paragraph
// separators and the bidirectional overrides and isolates as "\u009B", and each byte that is not part of
// valid UTF-8 as "\xNN". Line feeds are kept when `keepLineFeeds` is true (the log's own line breaks).
std::string VisibleControls(std::string_view text, bool keepLineFeeds = false);

}  // namespace calvorin
