// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/Encoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace calvorin {
namespace {

// Owns one iconv descriptor.
class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))  // NOLINT(performance-no-int-to-ptr): iconv's error value
            throw std::runtime_error(std::string("Conversione ") + from + " -> " + to + " non disponibile");
    }
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts input; at every sequence that cannot be converted, appends `substitute` and skips
    // `skip(input)` bytes.
    template <typename Skip>
    std::string Convert(std::string_view input, std::string_view substitute, Skip skip) {
        return Convert(input, [&](std::string_view rest) { return Substitution{substitute, skip(rest)}; });
    }

    struct Substitution {
        std::string_view text;  // appended in place of the sequence
        std::size_t skipped;    // bytes of input it stands for
    };

    // Converts input; at every sequence that cannot be converted, `substitute(rest)` says what to append
    // and how many bytes to skip.
    template <typename Substitute>
    std::string Convert(std::string_view input, Substitute substitute) {
        std::string out;
        out.reserve(input.size() * 2 + 8);
        char buffer[4096];
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            char* o = buffer;
            size_t oLeft = sizeof buffer;
            size_t r = iconv(cd_, &in, &inLeft, &o, &oLeft);
            out.append(buffer, static_cast<size_t>(o - buffer));
            if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
            // EILSEQ or EINVAL: an unconvertible or truncated sequence
            const Substitution instead = substitute(std::string_view(in, inLeft));
            out.append(instead.text);
            size_t n = std::min(inLeft, std::max<size_t>(instead.skipped, 1));
            in += n;
            inLeft -= n;
        }
        return out;
    }

  private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence that starts the text, at least 1.
size_t Utf8SequenceLength(std::string_view s) {
    auto c = static_cast<unsigned char>(s[0]);
    size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    size_t i = 1;
    while (i < n && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    return i;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The five bytes Windows-1252 leaves undefined. Windows reads each as the C1 control of the same number
// (U+0081...), and so does a file read here, so that writing it back gives the same bytes.
bool UndefinedInCp1252(unsigned char byte) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// The file's Windows-1252 bytes as UTF-8, an undefined byte as its C1 control.
std::string Cp1252FileToUtf8(std::string_view cp1252) {
    Iconv cd("UTF-8", "WINDOWS-1252");
    std::string control;
    return cd.Convert(cp1252, [&](std::string_view rest) {
        const auto byte = static_cast<unsigned char>(rest[0]);
        if (!UndefinedInCp1252(byte)) return Iconv::Substitution{kReplacement, 1};
        control = {'\xC2', rest[0]};
        return Iconv::Substitution{control, 1};
    });
}
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

}  // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
    Iconv cd("WINDOWS-1252", "UTF-8");
    std::string byte;
    return cd.Convert(utf8, [&](std::string_view rest) {
        if (rest.size() >= 2 && rest[0] == '\xC2' && UndefinedInCp1252(static_cast<unsigned char>(rest[1]))) {
            byte = rest.substr(1, 1);
            return Iconv::Substitution{byte, 2};
        }
        return Iconv::Substitution{"?", Utf8SequenceLength(rest)};
    });
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    Iconv cd("UTF-8", "WINDOWS-1252");
    return cd.Convert(cp1252, kReplacement, [](std::string_view) { return size_t{1}; });
}

std::string RepairUtf8(std::string_view bytes) {
    Iconv cd("UTF-8", "UTF-8");
    return cd.Convert(bytes, kReplacement, Utf8SequenceLength);
}

DecodedText DecodeText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return {RepairUtf8(bytes.substr(3)), TextEncoding::Utf8Bom};
    bool le = bytes.starts_with(kUtf16LeBom), be = bytes.starts_with(kUtf16BeBom);
    if (le || be) {
        Iconv cd("UTF-8", le ? "UTF-16LE" : "UTF-16BE");
        auto skipUnit = [](std::string_view) { return size_t{2}; };
        return {cd.Convert(bytes.substr(2), kReplacement, skipUnit),
                le ? TextEncoding::Utf16Le : TextEncoding::Utf16Be};
    }
    return {Cp1252FileToUtf8(bytes), TextEncoding::Ansi};
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding) {
    auto replacementChar = [](std::string_view s) { return Utf8SequenceLength(s); };
    switch (encoding) {
        case TextEncoding::Ansi:
            return Utf8ToCp1252(utf8);
        case TextEncoding::Utf8Bom: {
            Iconv cd("UTF-8", "UTF-8");
            return std::string(kUtf8Bom) + cd.Convert(utf8, kReplacement, replacementChar);
        }
        case TextEncoding::Utf16Le: {
            Iconv cd("UTF-16LE", "UTF-8");
            return std::string(kUtf16LeBom) +
                   cd.Convert(utf8, std::string_view("\xFD\xFF", 2), replacementChar);
        }
        case TextEncoding::Utf16Be: {
            Iconv cd("UTF-16BE", "UTF-8");
            return std::string(kUtf16BeBom) +
                   cd.Convert(utf8, std::string_view("\xFF\xFD", 2), replacementChar);
        }
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
