// SPDX-License-Identifier: GPL-3.0-or-later
// Quoting of texts written inside string literals of the generated JavaScript and PHP files.
#include "lineup/EscapeQuoted.h"

namespace calvorin {

std::string EscapeQuoted(std::string_view text, char quote) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == quote || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

namespace {

void AppendControlEscape(std::string& out, unsigned char c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    switch (c) {
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
}

}  // namespace

std::string EscapeJsString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : EscapeQuoted(text, '"')) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            AppendControlEscape(out, byte);
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace calvorin
