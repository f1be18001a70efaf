// SPDX-License-Identifier: GPL-3.0-or-later
// A start time that parses prints in a form that parses back to the same minute.
#include <cstdlib>
#include <string_view>

#include "starttimes/ParseDateTime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calvorin;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const Regex* pattern : {&DisplayPattern(), &StoragePattern()}) {
        LocalDateTime parsed;
        if (!ParseDateTime(text, *pattern, parsed)) continue;
        LocalDateTime again;
        if (!ParseDateTime(parsed.DisplayForm(), DisplayPattern(), again)) std::abort();
        if (again.SecondsSinceEpoch() / 60 != parsed.SecondsSinceEpoch() / 60) std::abort();
    }
    return 0;
}
