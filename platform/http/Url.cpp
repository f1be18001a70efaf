// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/http/Url.h"

#include <optional>

#include "platform/http/HttpTransport.h"
#include "platform/text/Trim.h"
#include "platform/text/Utf8.h"

namespace calvorin {
namespace {

constexpr const char* kNoScheme = "Indirizzo non valido: deve iniziare con http:// o https://";
constexpr const char* kOtherScheme = "Indirizzo non valido: lo schema non è né http né https";
constexpr const char* kNoHost = "Indirizzo non valido: manca il nome del server";
constexpr const char* kBadHost = "Indirizzo non valido: nome del server non ammesso";
constexpr const char* kBadPort = "Indirizzo non valido: porta non compresa tra 1 e 65535";
constexpr const char* kNotUtf8 = "Indirizzo non valido: il testo non è UTF-8";
constexpr const char* kSpaces = "Indirizzo non valido: contiene spazi o caratteri di controllo";

bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsUnreserved(char c) {
    return IsAlpha(c) || IsDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}
bool IsSubDelimiter(char c) {
    return std::string_view("!$&'()*+,;=").find(c) != std::string_view::npos;
}
bool IsSpaceOrControl(unsigned char c) {
    return c <= 0x20 || c == 0x7F;
}

// The bytes a path may carry as they are; '%' stays, so escapes already made are not made twice.
bool IsPathByte(char c) {
    return IsUnreserved(c) || IsSubDelimiter(c) || c == ':' || c == '@' || c == '/' || c == '%';
}
bool IsQueryByte(char c) {
    return IsPathByte(c) || c == '?';
}

void AppendEscaped(std::string& out, unsigned char c) {
    constexpr const char* kHex = "0123456789ABCDEF";
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
}

template <typename Keep>
std::string EncodeOthers(std::string_view text, Keep keep) {
    std::string out;
    for (char c : text) {
        if (keep(c))
            out += c;
        else
            AppendEscaped(out, static_cast<unsigned char>(c));
    }
    return out;
}

std::string FormEncoded(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (IsUnreserved(c))
            out += c;
        else if (c == ' ')
            out += '+';
        else
            AppendEscaped(out, static_cast<unsigned char>(c));
    }
    return out;
}

// The length of the scheme that starts the text, up to its ':'; 0 when the text starts with none.
std::size_t SchemeLength(std::string_view text) {
    if (text.empty() || !IsAlpha(text[0])) return 0;
    std::size_t i = 1;
    while (i < text.size() &&
           (IsAlpha(text[i]) || IsDigit(text[i]) || text[i] == '+' || text[i] == '-' || text[i] == '.'))
        ++i;
    return i < text.size() && text[i] == ':' ? i : 0;
}

bool IsIpv4Address(std::string_view text) {
    int parts = 0;
    while (true) {
        std::size_t dot = text.find('.');
        std::string_view part = text.substr(0, dot);
        if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0')) return false;
        int value = 0;
        for (char c : part) {
            if (!IsDigit(c)) return false;
            value = value * 10 + (c - '0');
        }
        if (value > 255 || ++parts > 4) return false;
        if (dot == std::string_view::npos) return parts == 4;
        text.remove_prefix(dot + 1);
    }
}

// RFC 3986's IPv6address: eight groups of up to four hexadecimal digits, the last two possibly an IPv4
// address, with one run of zero groups possibly written "::".
bool IsIpv6Address(std::string_view text) {
    int groups = 0;
    bool compressed = false;
    if (text.starts_with("::")) {
        compressed = true;
        text.remove_prefix(2);
    }
    while (!text.empty()) {
        std::size_t colon = text.find(':');
        std::string_view group = text.substr(0, colon);
        if (colon == std::string_view::npos && group.find('.') != std::string_view::npos) {
            if (!IsIpv4Address(group)) return false;
            groups += 2;
            break;
        }
        if (group.empty() || group.size() > 4) return false;
        for (char c : group)
            if (!IsHexDigit(c)) return false;
        ++groups;
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
        if (text.starts_with(":")) {
            if (compressed) return false;
            compressed = true;
            text.remove_prefix(1);
        } else if (text.empty()) {
            return false;  // a single ':' at the end
        }
    }
    return compressed ? groups <= 7 : groups == 8;
}

// The inside of "[...]": an IPv6 address, possibly with a zone ("%25" and its name, RFC 6874).
bool IsIpv6Literal(std::string_view text) {
    std::size_t percent = text.find('%');
    if (percent == std::string_view::npos) return IsIpv6Address(text);
    std::string_view zone = text.substr(percent);
    if (!zone.starts_with("%25") || zone.size() == 3) return false;
    for (char c : zone.substr(3))
        if (!IsUnreserved(c) && c != '%') return false;
    return IsIpv6Address(text.substr(0, percent));
}

// A server name as DNS has them, or an IPv4 address; bytes beyond ASCII are an international name.
bool IsHostName(std::string_view text) {
    for (char c : text)
        if (!IsUnreserved(c) && static_cast<unsigned char>(c) < 0x80) return false;
    return true;
}

std::string CheckedPort(std::string_view text) {
    for (char c : text)
        if (!IsDigit(c)) throw HttpError(kBadPort);
    while (text.size() > 1 && text[0] == '0') text.remove_prefix(1);
    if (text.size() > 5 || text == "0" || std::stoi(std::string(text)) > 65535) throw HttpError(kBadPort);
    return std::string(text);
}

void ParseAuthority(std::string_view authority, Url& url) {
    if (std::size_t at = authority.find('@'); at != std::string_view::npos) {
        url.userinfo = authority.substr(0, at);
        authority.remove_prefix(at + 1);
    }
    std::string_view port;
    if (authority.starts_with("[")) {
        std::size_t close = authority.find(']');
        if (close == std::string_view::npos || !IsIpv6Literal(authority.substr(1, close - 1)))
            throw HttpError(kBadHost);
        url.host = authority.substr(0, close + 1);
        std::string_view after = authority.substr(close + 1);
        if (!after.empty() && after[0] != ':') throw HttpError(kBadHost);
        if (!after.empty()) port = after.substr(1);
    } else {
        std::size_t colon = authority.find(':');
        url.host = authority.substr(0, colon);
        if (colon != std::string_view::npos) port = authority.substr(colon + 1);
        if (url.host.empty()) throw HttpError(kNoHost);
        if (!IsHostName(url.host)) throw HttpError(kBadHost);
    }
    if (!port.empty()) url.port = CheckedPort(port);
}

void RemoveLastSegment(std::string& out) {
    std::size_t slash = out.rfind('/');
    out.erase(slash == std::string::npos ? 0 : slash);
}

// RFC 3986, 5.2.4.
std::string RemoveDotSegments(std::string_view in) {
    std::string out;
    while (!in.empty()) {
        if (in.starts_with("../")) {
            in.remove_prefix(3);
        } else if (in.starts_with("./") || in.starts_with("/./")) {
            in.remove_prefix(2);
        } else if (in == "/.") {
            in = "/";
        } else if (in.starts_with("/../")) {
            in.remove_prefix(3);
            RemoveLastSegment(out);
        } else if (in == "/..") {
            in = "/";
            RemoveLastSegment(out);
        } else if (in == "." || in == "..") {
            in = {};
        } else {
            std::size_t next = in.find('/', 1);
            out += in.substr(0, next);
            in.remove_prefix(next == std::string_view::npos ? in.size() : next);
        }
    }
    return out;
}

// A URI reference split as RFC 3986's appendix B splits it.
struct Reference {
    std::optional<std::string> scheme;
    std::optional<std::string> authority;
    std::string path;
    std::optional<std::string> query;
    std::optional<std::string> fragment;
};

Reference SplitReference(std::string_view text) {
    Reference r;
    if (std::size_t length = SchemeLength(text)) {
        r.scheme = text.substr(0, length);
        text.remove_prefix(length + 1);
    }
    if (std::size_t hash = text.find('#'); hash != std::string_view::npos) {
        r.fragment = text.substr(hash + 1);
        text = text.substr(0, hash);
    }
    if (std::size_t question = text.find('?'); question != std::string_view::npos) {
        r.query = text.substr(question + 1);
        text = text.substr(0, question);
    }
    if (text.starts_with("//")) {
        std::size_t end = text.find('/', 2);
        r.authority = text.substr(2, end == std::string_view::npos ? std::string_view::npos : end - 2);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    }
    r.path = text;
    return r;
}

std::string Authority(const Url& url) {
    return (url.userinfo.empty() ? "" : url.userinfo + "@") + url.host +
           (url.port.empty() ? "" : ":" + url.port);
}

// RFC 3986, 5.2.3: the base path up to its last "/", then the reference's.
std::string Merge(const Url& base, std::string_view path) {
    return base.path.substr(0, base.path.rfind('/') + 1) + std::string(path);
}

}  // namespace

std::string Url::Text() const {
    return scheme + "://" + Authority(*this) + Target() + (fragment.empty() ? "" : "#" + fragment);
}

std::string Url::Target() const {
    return path + (query.empty() ? "" : "?" + query);
}

std::string Url::HostName() const {
    return host.starts_with("[") ? host.substr(1, host.size() - 2) : host;
}

int Url::PortNumber() const {
    if (!port.empty()) return std::stoi(port);
    return scheme == "https" ? 443 : 80;
}

Url ParseUrl(std::string_view text) {
    std::size_t schemeLength = SchemeLength(text);
    if (schemeLength == 0) throw HttpError(kNoScheme);
    Url url;
    url.scheme = AsciiLower(text.substr(0, schemeLength));
    if (url.scheme != "http" && url.scheme != "https") throw HttpError(kOtherScheme);
    if (!IsValidUtf8(text)) throw HttpError(kNotUtf8);
    for (char c : text)
        if (IsSpaceOrControl(static_cast<unsigned char>(c))) throw HttpError(kSpaces);
    std::string_view rest = text.substr(schemeLength + 1);
    if (!rest.starts_with("//")) throw HttpError(kNoHost);
    rest.remove_prefix(2);
    std::size_t authorityEnd = rest.find_first_of("/?#");
    ParseAuthority(rest.substr(0, authorityEnd), url);
    rest.remove_prefix(authorityEnd == std::string_view::npos ? rest.size() : authorityEnd);

    std::size_t hash = rest.find('#');
    if (hash != std::string_view::npos) {
        url.fragment = EncodeOthers(rest.substr(hash + 1), IsQueryByte);
        rest = rest.substr(0, hash);
    }
    std::size_t question = rest.find('?');
    if (question != std::string_view::npos) {
        url.query = EncodeOthers(rest.substr(question + 1), IsQueryByte);
        rest = rest.substr(0, question);
    }
    url.path = rest.empty() ? "/" : RemoveDotSegments(EncodeOthers(rest, IsPathByte));
    return url;
}

std::string ResolveReference(const Url& base, std::string_view reference) {
    std::string escaped;
    for (char c : reference) {
        if (IsSpaceOrControl(static_cast<unsigned char>(c)))
            AppendEscaped(escaped, static_cast<unsigned char>(c));
        else
            escaped += c;
    }
    Reference r = SplitReference(escaped);
    Reference t;
    if (r.scheme) {
        t = r;
        t.path = RemoveDotSegments(r.path);
    } else {
        if (r.authority) {
            t.authority = r.authority;
            t.path = RemoveDotSegments(r.path);
            t.query = r.query;
        } else {
            if (r.path.empty()) {
                t.path = base.path;
                t.query = r.query ? r.query : std::optional<std::string>(base.query);
            } else {
                t.path = RemoveDotSegments(r.path.starts_with("/") ? r.path : Merge(base, r.path));
                t.query = r.query;
            }
            t.authority = Authority(base);
        }
        t.scheme = base.scheme;
        t.fragment = r.fragment;
    }
    // RFC 3986, 5.3.
    std::string text = *t.scheme + ":";
    if (t.authority) text += "//" + *t.authority;
    text += t.path;
    if (t.query) text += "?" + *t.query;
    if (t.fragment) text += "#" + *t.fragment;
    std::string scheme = AsciiLower(*t.scheme);
    return scheme == "http" || scheme == "https" ? ParseUrl(text).Text() : text;
}

std::string AppendQueryParameters(const std::string& url,
                                  const std::vector<std::pair<std::string, std::string>>& parameters) {
    Url parsed = ParseUrl(url);
    for (const auto& [name, value] : parameters) {
        if (!parsed.query.empty() && !parsed.query.ends_with("&")) parsed.query += '&';
        parsed.query += FormEncoded(name) + "=" + FormEncoded(value);
    }
    return parsed.Text();
}

}  // namespace calvorin
