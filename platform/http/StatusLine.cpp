// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/http/StatusLine.h"

#include <cctype>
#include <utility>

#include "platform/text/Encoding.h"
#include "platform/text/Trim.h"
#include "platform/text/Utf8.h"

namespace calvorin {
namespace {

bool IsThreeDigits(std::string_view s) {
    return s.size() == 3 && std::isdigit(static_cast<unsigned char>(s[0])) &&
           std::isdigit(static_cast<unsigned char>(s[1])) && std::isdigit(static_cast<unsigned char>(s[2]));
}

}  // namespace

std::optional<StatusLine> ParseStatusLine(std::string_view line) {
    line = TrimView(line);
    if (!line.starts_with("HTTP/")) return std::nullopt;
    size_t codeStart = line.find(' ');
    if (codeStart == std::string_view::npos) return std::nullopt;
    std::string_view rest = line.substr(codeStart + 1);
    std::string_view code = rest.substr(0, 3);
    if (!IsThreeDigits(code) || (rest.size() > 3 && rest[3] != ' ')) return std::nullopt;
    std::string_view reason = rest.size() > 4 ? rest.substr(4) : std::string_view();
    return StatusLine{(code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0'),
                      BoundedReasonPhrase(reason)};
}

std::string BoundedReasonPhrase(std::string_view raw) {
    std::string reason = IsValidUtf8(raw) ? std::string(raw) : Cp1252ToUtf8(raw);
    if (reason.size() > kMaxReasonBytes) {
        size_t cut = kMaxReasonBytes;
        while (cut > 0 && (static_cast<unsigned char>(reason[cut]) & 0xC0) == 0x80) --cut;
        reason.resize(cut);
        reason += "…";
    }
    return reason;
}

std::string StandardReasonPhrase(int status) {
    static const std::pair<int, const char*> kPhrases[] = {
        {100, "Continue"},
        {101, "Switching Protocols"},
        {200, "OK"},
        {201, "Created"},
        {202, "Accepted"},
        {203, "Non-Authoritative Information"},
        {204, "No Content"},
        {205, "Reset Content"},
        {206, "Partial Content"},
        {300, "Multiple Choices"},
        {301, "Moved Permanently"},
        {302, "Found"},
        {303, "See Other"},
        {304, "Not Modified"},
        {307, "Temporary Redirect"},
        {308, "Permanent Redirect"},
        {400, "Bad Request"},
        {401, "Unauthorized"},
        {402, "Payment Required"},
        {403, "Forbidden"},
        {404, "Not Found"},
        {405, "Method Not Allowed"},
        {406, "Not Acceptable"},
        {407, "Proxy Authentication Required"},
        {408, "Request Timeout"},
        {409, "Conflict"},
        {410, "Gone"},
        {411, "Length Required"},
        {412, "Precondition Failed"},
        {413, "Content Too Large"},
        {414, "URI Too Long"},
        {415, "Unsupported Media Type"},
        {416, "Range Not Satisfiable"},
        {417, "Expectation Failed"},
        {421, "Misdirected Request"},
        {422, "Unprocessable Content"},
        {426, "Upgrade Required"},
        {429, "Too Many Requests"},
        {500, "Internal Server Error"},
        {501, "Not Implemented"},
        {502, "Bad Gateway"},
        {503, "Service Unavailable"},
        {504, "Gateway Timeout"},
        {505, "HTTP Version Not Supported"},
    };
    for (const auto& [code, phrase] : kPhrases)
        if (code == status) return phrase;
    return "HTTP " + std::to_string(status);
}

}  // namespace calvorin
