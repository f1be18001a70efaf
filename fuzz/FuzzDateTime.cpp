// SPDX-License-Identifier: GPL-3.0-or-later
// A start time that parses prints in display form that parses back to the same minute, and in storage
// form that parses back to the same second.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "starttimes/ParseDateTime.h"

namespace {

// Before 1899-12-30 the seconds are negative and `/` would round towards zero, putting 18:00:30 in the
// minute after 18:00:00; the minute must be the floor.
std::int64_t MinuteOf(const calvorin::LocalDateTime& time) {
    const std::int64_t seconds = time.SecondsSinceEpoch();
    return seconds / 60 - (seconds % 60 < 0 ? 1 : 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace calvorin;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (DateTimeForm form : {DateTimeForm::Display, DateTimeForm::Storage}) {
        LocalDateTime parsed;
        if (!ParseDateTime(text, form, parsed)) continue;
        LocalDateTime again;
        if (!ParseDateTime(parsed.DisplayForm(), DateTimeForm::Display, again)) std::abort();
        if (MinuteOf(again) != MinuteOf(parsed)) std::abort();
        if (!ParseDateTime(parsed.StorageFormWithSeconds(), DateTimeForm::Storage, again)) std::abort();
        if (again != parsed) std::abort();
    }
    return 0;
}
