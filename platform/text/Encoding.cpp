// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/Encoding.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>

#include "platform/text/Utf8.h"

namespace calvorin {
namespace {

// Windows-1252 bytes 0x80-0x9F; 0 marks the five that it leaves undefined. Bytes below 0x80 are ASCII,
// and 0xA0-0xFF are U+00A0-U+00FF.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98
};

constexpr char32_t kReplacement = 0xFFFD;

// The character of a Windows-1252 byte; an undefined byte gives `undefined(byte)`.
template <typename Undefined>
char32_t Cp1252Char(unsigned char byte, Undefined undefined) {
    if (byte < 0x80 || byte >= 0xA0) return byte;
    char16_t c = kCp1252High[byte - 0x80];
    return c != 0 ? c : undefined(byte);
}

// The Windows-1252 byte of a character, or nothing. The C1 controls U+0081, U+008D, U+008F, U+0090 and
// U+009D give the undefined bytes of the same number, as Windows converts them, so that a file read with
// DecodeText is written back unchanged.
std::optional<char> Cp1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i)
        if (kCp1252High[i] != 0 ? kCp1252High[i] == c : c == 0x80 + i) return static_cast<char>(0x80 + i);
    return std::nullopt;
}

// How many bytes a malformed sequence at the start of the text stands for: its lead byte with the
// continuation bytes that follow, as many as the lead byte announces (at least 1).
std::size_t MalformedLength(std::string_view s) {
    auto c = static_cast<unsigned char>(s[0]);
    std::size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    std::size_t i = 1;
    while (i < n && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    return i;
}

// Calls `character(c)` for each character of the UTF-8 text and `malformed()` for each malformed sequence.
template <typename Character, typename Malformed>
void ForEachUtf8(std::string_view utf8, Character character, Malformed malformed) {
    while (!utf8.empty()) {
        char32_t c = 0;
        std::size_t length = DecodeUtf8(utf8, c);
        if (length == 0) {
            malformed();
            length = MalformedLength(utf8);
        } else {
            character(c);
        }
        utf8.remove_prefix(length);
    }
}

void AppendUtf16(std::string& out, char32_t c, bool littleEndian) {
    auto unit = [&](char32_t u) {
        const char low = static_cast<char>(u & 0xFF), high = static_cast<char>(u >> 8);
        out += littleEndian ? low : high;
        out += littleEndian ? high : low;
    };
    if (c < 0x10000) {
        unit(c);
    } else {
        unit(0xD800 + ((c - 0x10000) >> 10));
        unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
}

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD and so does an odd final byte.
std::string Utf16ToUtf8(std::string_view bytes, bool littleEndian) {
    auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]),
                   second = static_cast<unsigned char>(bytes[i + 1]);
        return littleEndian ? first | (second << 8) : (first << 8) | second;
    };
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    std::size_t i = 0;
    for (; i + 2 <= bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xDC00 && c <= 0xDFFF) {
            c = kReplacement;
        } else if (c >= 0xD800 && c <= 0xDBFF) {
            const char32_t next = i + 4 <= bytes.size() ? unit(i + 2) : 0;
            if (next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                i += 2;
            } else {
                c = kReplacement;
            }
        }
        AppendUtf8(out, c);
    }
    if (i < bytes.size()) AppendUtf8(out, kReplacement);
    return out;
}

std::string Utf8ToUtf16(std::string_view utf8, bool littleEndian) {
    std::string out;
    out.reserve(utf8.size() * 2);
    ForEachUtf8(
        utf8, [&](char32_t c) { AppendUtf16(out, c, littleEndian); },
        [&] { AppendUtf16(out, kReplacement, littleEndian); });
    return out;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

}  // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    ForEachUtf8(
        utf8, [&](char32_t c) { out += Cp1252Byte(c).value_or('?'); }, [&] { out += '?'; });
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 2);
    for (char byte : cp1252)
        AppendUtf8(out,
                   Cp1252Char(static_cast<unsigned char>(byte), [](unsigned char) { return kReplacement; }));
    return out;
}

std::string RepairUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + 8);
    ForEachUtf8(
        bytes, [&](char32_t c) { AppendUtf8(out, c); }, [&] { AppendUtf8(out, kReplacement); });
    return out;
}

DecodedText DecodeText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return {RepairUtf8(bytes.substr(3)), TextEncoding::Utf8Bom};
    if (bytes.starts_with(kUtf16LeBom)) return {Utf16ToUtf8(bytes.substr(2), true), TextEncoding::Utf16Le};
    if (bytes.starts_with(kUtf16BeBom)) return {Utf16ToUtf8(bytes.substr(2), false), TextEncoding::Utf16Be};
    // Windows reads each undefined byte as the C1 control of the same number (U+0081...), and so does a
    // file read here, so that writing it back gives the same bytes.
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char byte : bytes)
        AppendUtf8(out,
                   Cp1252Char(static_cast<unsigned char>(byte), [](unsigned char b) { return char32_t{b}; }));
    return {out, TextEncoding::Ansi};
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Ansi:
            return Utf8ToCp1252(utf8);
        case TextEncoding::Utf8Bom:
            return std::string(kUtf8Bom) + RepairUtf8(utf8);
        case TextEncoding::Utf16Le:
            return std::string(kUtf16LeBom) + Utf8ToUtf16(utf8, true);
        case TextEncoding::Utf16Be:
            return std::string(kUtf16BeBom) + Utf8ToUtf16(utf8, false);
    }
    throw std::logic_error("codifica sconosciuta");
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinCrlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace calvorin
