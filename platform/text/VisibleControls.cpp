// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/VisibleControls.h"

#include <cstdint>
#include <cstdio>

namespace calvorin {
namespace {

// The length of the valid UTF-8 sequence at the start of `s` and its code point; 0 when it is not one
// (overlong forms, surrogates and values above U+10FFFF included).
size_t DecodeUtf8(std::string_view s, char32_t& codePoint) {
    auto byte = [&s](size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char lead = byte(0);
    size_t length = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    if (length == 0 || length > s.size()) return 0;
    codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

bool SteersOutput(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

void AppendEscape(std::string& out, const char* format, unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, format, value);
    out += buffer;
}

}  // namespace

std::string VisibleControls(std::string_view text, bool keepLineFeeds) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        char32_t c = 0;
        size_t length = DecodeUtf8(text, c);
        if (length == 0)
            AppendEscape(out, "\\x%02X", static_cast<unsigned char>(text[0]));
        else if (c == '\n' && keepLineFeeds)
            out += '\n';
        else if (SteersOutput(c))
            AppendEscape(out, c < 0x80 ? "\\x%02X" : "\\u%04X", static_cast<unsigned>(c));
        else
            out.append(text.substr(0, length));
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return out;
}

}  // namespace calvorin
