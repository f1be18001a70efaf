// SPDX-License-Identifier: GPL-3.0-or-later
// The status line of an HTTP answer and the standard reason phrases.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace calvorin {

// A longer reason phrase is cut to this many bytes and "…": it ends up in a one-line log message.
inline constexpr std::size_t kMaxReasonBytes = 200;

struct StatusLine {
    int status = 0;
    std::string reason;  // UTF-8; empty when the line has none (HTTP/2 and later never have one)
};

// Parses a header line such as "HTTP/1.1 404 Not Found\r\n". Returns nothing for any other line. A reason
// phrase that is not valid UTF-8 is read as Windows-1252, and one over kMaxReasonBytes is cut.
std::optional<StatusLine> ParseStatusLine(std::string_view line);

// Returns the reason phrase of a status line as it came (its bytes): as UTF-8 when it is, else read as
// Windows-1252, and cut after kMaxReasonBytes on a character boundary with "…".
std::string BoundedReasonPhrase(std::string_view raw);

// Returns the standard reason phrase of a status code ("Not Found" for 404), or "HTTP <code>" for a code
// without one.
std::string StandardReasonPhrase(int status);

}  // namespace calvorin
