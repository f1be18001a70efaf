// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/VisibleControls.h"

#include <cstdint>
#include <cstdio>

#include "platform/text/Utf8.h"

namespace calvorin {
namespace {

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
