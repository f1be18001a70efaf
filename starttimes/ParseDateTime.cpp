// SPDX-License-Identifier: GPL-3.0-or-later
#include "starttimes/ParseDateTime.h"

#include <cstddef>
#include <optional>

#include "platform/text/Digits.h"

namespace calvorin {
namespace {

// Reads `least` to `most` ASCII digits, as many as there are, off the front of the text. At most four
// digits, so the number cannot overflow.
bool ReadNumber(std::string_view& text, std::size_t least, std::size_t most, int& value) {
    std::size_t count = LeadingDigitCount(text.substr(0, most));
    if (count < least) return false;
    value = 0;
    for (char c : text.substr(0, count)) value = value * 10 + (c - '0');
    text.remove_prefix(count);
    return true;
}

bool ReadChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

// A field of one or two digits can be followed only by a separator, never by a third digit, so reading
// as many digits as allowed is the only way the text can match.
std::optional<DateTimeParts> ReadDisplayForm(std::string_view text) {
    DateTimeParts p;
    if (ReadNumber(text, 1, 2, p.day) && ReadChar(text, '/') && ReadNumber(text, 1, 2, p.month) &&
        ReadChar(text, '/') && ReadNumber(text, 4, 4, p.year) && ReadChar(text, ' ') &&
        ReadNumber(text, 1, 2, p.hour) && ReadChar(text, ':') && ReadNumber(text, 1, 2, p.minute) &&
        text.empty())
        return p;
    return std::nullopt;
}

std::optional<DateTimeParts> ReadStorageForm(std::string_view text) {
    DateTimeParts p;
    if (!(ReadNumber(text, 4, 4, p.year) && ReadChar(text, '-') && ReadNumber(text, 2, 2, p.month) &&
          ReadChar(text, '-') && ReadNumber(text, 2, 2, p.day) && ReadChar(text, ' ') &&
          ReadNumber(text, 2, 2, p.hour) && ReadChar(text, '.') && ReadNumber(text, 2, 2, p.minute)))
        return std::nullopt;
    if (!text.empty() && !(ReadChar(text, '.') && ReadNumber(text, 2, 2, p.second))) return std::nullopt;
    if (!text.empty()) return std::nullopt;
    return p;
}

}  // namespace

bool ParseDateTime(std::string_view text, DateTimeForm form, LocalDateTime& out) {
    std::optional<DateTimeParts> parts =
        form == DateTimeForm::Display ? ReadDisplayForm(text) : ReadStorageForm(text);
    if (!parts) return false;
    std::optional<LocalDateTime> date = LocalDateTime::FromDate(parts->year, parts->month, parts->day);
    if (!date) return false;
    std::optional<LocalDateTime> full = LocalDateTime::FromParts(*parts);
    out = full ? *full : *date;
    return full.has_value();
}

}  // namespace calvorin
