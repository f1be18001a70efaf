// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/JetText.h"

#include <algorithm>
#include <cstdint>

#include "platform/text/Encoding.h"

namespace calvorin {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Turns UTF-16 code units into UTF-8, pairing surrogates.
class Utf16Sink {
  public:
    explicit Utf16Sink(std::size_t units) { out_.reserve(units); }
    void Put(char32_t unit) {
        if (high_ && IsLowSurrogate(unit)) {
            AppendUtf8(out_, 0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00));
            high_ = 0;
            return;
        }
        Flush();
        if (IsHighSurrogate(unit))
            high_ = unit;
        else
            AppendUtf8(out_, IsLowSurrogate(unit) ? kReplacement : unit);
    }
    std::string Finish() {
        Flush();
        return std::move(out_);
    }

  private:
    void Flush() {
        if (high_) AppendUtf8(out_, kReplacement);
        high_ = 0;
    }
    std::string out_;
    char32_t high_ = 0;
};

char32_t Unit(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]) |
           (static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8);
}

std::string DecodeCompressed(std::string_view bytes) {
    Utf16Sink sink(bytes.size());
    bool oneByte = true;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] == '\0') {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            sink.Put(static_cast<unsigned char>(bytes[i++]));
        } else if (i + 1 < bytes.size()) {
            sink.Put(Unit(bytes, i));
            i += 2;
        } else {
            sink.Put(kReplacement);
            ++i;
        }
    }
    return sink.Finish();
}

}  // namespace

std::string DecodeJet4Text(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return DecodeCompressed(bytes.substr(2));
    Utf16Sink sink(bytes.size());
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) sink.Put(Unit(bytes, i));
    if (bytes.size() % 2) sink.Put(kReplacement);
    return sink.Finish();
}

std::string DecodeJet3Text(std::string_view bytes) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    return ascii ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

}  // namespace calvorin
