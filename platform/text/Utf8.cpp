// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/Utf8.h"

namespace calvorin {

std::size_t DecodeUtf8(std::string_view s, char32_t& codePoint) {
    if (s.empty()) return 0;
    auto byte = [&s](size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char lead = byte(0);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || length > s.size()) return 0;
    codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

bool IsValidUtf8(std::string_view s) {
    char32_t codePoint = 0;
    while (!s.empty()) {
        std::size_t length = DecodeUtf8(s, codePoint);
        if (length == 0) return false;
        s.remove_prefix(length);
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
        return;
    }
    const std::size_t length = codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
    static constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    char bytes[4];
    for (std::size_t i = length - 1; i > 0; --i) {
        bytes[i] = static_cast<char>(0x80 | (codePoint & 0x3F));
        codePoint >>= 6;
    }
    bytes[0] = static_cast<char>(kLead[length] | codePoint);
    out.append(bytes, length);
}

namespace {

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

int CountCharacters(std::string_view s) {
    int n = 0;
    for (char c : s) n += !IsContinuation(c);
    return n;
}

std::string_view FirstCharacters(std::string_view s, int count) {
    std::size_t end = 0;
    for (int n = 0; end < s.size() && n < count; ++n) {
        ++end;
        while (end < s.size() && IsContinuation(s[end])) ++end;
    }
    return s.substr(0, end);
}

}  // namespace calvorin
