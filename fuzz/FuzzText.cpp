// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding never fails, and Windows-1252 text survives a trip through UTF-8.
#include <cstdlib>
#include <string_view>

#include "platform/text/Encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto decoded = calvorin::DecodeText(bytes);
    const std::string encoded = calvorin::EncodeText(decoded.utf8, decoded.encoding);
    // A file without byte-order mark is Windows-1252, every byte of it kept.
    if (decoded.encoding == calvorin::TextEncoding::Ansi && encoded != bytes) std::abort();
    calvorin::Utf8ToCp1252(bytes);
    std::string cp = calvorin::Utf8ToCp1252(calvorin::Cp1252ToUtf8(bytes));
    if (cp.size() != bytes.size()) std::abort();
    for (std::size_t i = 0; i < cp.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        if (cp[i] != (undefined ? '?' : bytes[i])) std::abort();
    }
    calvorin::SplitLines(decoded.utf8);
    return 0;
}
