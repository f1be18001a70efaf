// SPDX-License-Identifier: GPL-3.0-or-later
// Any header line parses to nothing or to a three-digit status with a UTF-8 reason phrase.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/http/StatusLine.h"
#include "platform/text/Encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    std::optional<calvorin::StatusLine> parsed = calvorin::ParseStatusLine(line);
    if (!parsed) return 0;
    if (parsed->status < 0 || parsed->status > 999) std::abort();
    if (line.find("HTTP/") == std::string_view::npos) std::abort();
    // The log and the message boxes show the reason as it is: it must be UTF-8 already.
    if (calvorin::RepairUtf8(parsed->reason) != parsed->reason) std::abort();
    if (calvorin::StandardReasonPhrase(parsed->status).empty()) std::abort();
    return 0;
}
