// SPDX-License-Identifier: GPL-3.0-or-later
#include "starttimes/ParseDateTime.h"

#include <optional>
#include <string>

#include "platform/text/Integer.h"

namespace calvorin {
namespace {

// The groups hold only ASCII digits (at most four), so the conversion cannot overflow.
int GroupNumber(const RegexMatch& match, std::string_view name) {
    std::optional<std::string> text = match.Group(name);
    return text ? ParseInteger(*text).value_or(0) : 0;
}

}  // namespace

std::optional<RegexMatch> MatchWhole(const Regex& pattern, std::string_view text) {
    std::optional<RegexMatch> match = pattern.Search(text);
    if (match && match->Group(0)->size() != text.size()) return std::nullopt;
    return match;
}

const Regex& DisplayPattern() {
    static const Regex pattern(R"(^(?'d'\d{1,2})/(?'m'\d{1,2})/(?'y'\d{4}) (?'h'\d{1,2}):(?'n'\d{1,2})$)");
    return pattern;
}

const Regex& StoragePattern() {
    static const Regex pattern(
        R"(^(?'y'\d{4})-(?'m'\d{2})-(?'d'\d{2}) (?'h'\d{2})\.(?'n'\d{2})(?:\.(?'s'\d{2}))?$)");
    return pattern;
}

bool ParseDateTime(std::string_view text, const Regex& pattern, LocalDateTime& out) {
    std::optional<RegexMatch> match = MatchWhole(pattern, text);
    if (!match) return false;
    DateTimeParts parts{GroupNumber(*match, "y"), GroupNumber(*match, "m"), GroupNumber(*match, "d"),
                        GroupNumber(*match, "h"), GroupNumber(*match, "n"), GroupNumber(*match, "s")};
    std::optional<LocalDateTime> date = LocalDateTime::FromDate(parts.year, parts.month, parts.day);
    if (!date) return false;
    std::optional<LocalDateTime> full = LocalDateTime::FromParts(parts);
    out = full ? *full : *date;
    return full.has_value();
}

}  // namespace calvorin
