// SPDX-License-Identifier: GPL-3.0-or-later
// Any log text parses, and the visible count is the number of characters shown.
#include <cstdlib>
#include <string_view>

#include "plugin/log/Format.h"
#include "plugin/log/Markup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto line = calvorin::ParseMarkup(text);
    int shown = 0;
    for (const auto& segment : line.segments)
        for (char c : segment.text) shown += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (shown != line.visibleCount) std::abort();
    calvorin::Format(text, {"a", 1, -2});
    calvorin::FlattenMessage(text);
    return 0;
}
