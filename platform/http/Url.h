// SPDX-License-Identifier: GPL-3.0-or-later
// Request URLs: absolute http and https addresses taken apart, query parameters appended, redirects resolved.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace calvorin {

// An absolute http or https URL, checked and in one normal form: the scheme in lower case, the path
// without dot segments, every byte that a URL may not carry percent-encoded (non-ASCII letters, quotes,
// brackets, ...); percent-escapes already there are kept as written.
struct Url {
    std::string scheme;    // "http" or "https"
    std::string userinfo;  // as written, without its "@"; empty when there is none
    std::string host;      // a name or an IPv4 address as written, or an IPv6 literal with its brackets
    std::string port;      // decimal without leading zeros; empty when the URL names none
    std::string path;      // never empty: "/" at least
    std::string query;     // without its "?"; empty when there is none
    std::string fragment;  // without its "#"; empty when there is none

    // The whole URL.
    std::string Text() const;
    // What the request line carries: the path and the query, never the fragment.
    std::string Target() const;
    // The host without the brackets of an IPv6 literal.
    std::string HostName() const;
    // The port named, or the scheme's own (80, 443).
    int PortNumber() const;
};

// Takes an absolute http or https URL apart. Throws HttpError ("Indirizzo non valido: <why>") for any
// other text: no scheme, another scheme, no host or a host with characters no server name has, a port
// outside 1-65535, bytes that are not UTF-8, spaces or control characters.
Url ParseUrl(std::string_view text);

// Resolves a redirect's Location against the URL of the request that received it (RFC 3986, 5.2);
// spaces and control characters in it are percent-encoded rather than refused. Returns an http or https
// target in the form of ParseUrl, any other absolute target as resolved (the caller refuses it). Throws
// HttpError as ParseUrl does when the target is http or https but not a valid URL.
std::string ResolveReference(const Url& base, std::string_view reference);

// Returns the URL with each name=value appended, in order, after any query it already has ("?" for the
// first, "&" otherwise), names and values form-encoded (space as "+", every byte but letters, digits and
// "-._~" as %XX); a fragment stays at the end. Throws HttpError as ParseUrl does.
std::string AppendQueryParameters(const std::string& url,
                                  const std::vector<std::pair<std::string, std::string>>& parameters);

}  // namespace calvorin
