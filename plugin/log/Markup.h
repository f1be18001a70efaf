// SPDX-License-Identifier: GPL-3.0-or-later
// The log's inline markup: tags for bold, italic, underline, strike-out and colour, and entities.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calvorin {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// Style of a run of text. No colour means the desktop's window-text colour.
struct LogStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::optional<Rgb> color;
    bool operator==(const LogStyle&) const = default;
};

// A run of visible text with one style. The text may hold line feeds: they start new log lines.
struct LogSegment {
    std::string text;
    LogStyle style;
};

struct StyledLine {
    std::vector<LogSegment> segments;
    int visibleCount = 0;  // characters shown (Unicode code points), line breaks included
};

// Returns the colour of a colour tag name (already lower case), or nothing when it is not one.
std::optional<Rgb> LogColorByName(std::string_view name);

// Turns a marked-up text into styled segments. Tags are the text between "<" and the next ">", compared
// without regard to ASCII case; unknown tags vanish; a "<" without a later ">" ends the visible text.
// "&gt;", "&lt;" and "&amp;" are replaced in that order in each run of text. Never fails.
StyledLine ParseMarkup(std::string_view text);

// Returns the text with "&", "<" and ">" written as entities and control characters in their visible form
// (VisibleControls), so that a path, a name or a message from outside shows as it is instead of being
// read as markup or steering a terminal.
std::string EscapeMarkup(std::string_view text);

// Returns an error message as one line: trimmed, line feeds as " | ", carriage returns dropped, other
// control characters in their visible form (VisibleControls).
std::string FlattenMessage(std::string_view message);

// The result markers that steps write into the log.
inline constexpr std::string_view OkText = "<green>OK</color>";
inline constexpr std::string_view KoText = "<red>KO</color>";
inline constexpr std::string_view CancelledText = "<red><b>Operazione annullata</b></color>";

}  // namespace calvorin
