// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/http/Redirect.h"

#include "platform/http/HttpTransport.h"
#include "platform/text/Trim.h"

namespace calvorin {
namespace {

// The scheme of an absolute URL, in lower case; empty when there is none.
std::string SchemeOf(const std::string& url) {
    size_t colon = url.find(':');
    return colon == std::string::npos ? std::string() : AsciiLower(url.substr(0, colon));
}

}  // namespace

bool IsFollowedRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

void CheckRedirect(const std::string& from, const std::string& to) {
    std::string scheme = SchemeOf(to);
    if (scheme != "http" && scheme != "https")
        throw HttpError("Reindirizzamento rifiutato: il servizio rimanda a un indirizzo né http né https");
    if (scheme == "http" && SchemeOf(from) == "https")
        throw HttpError("Reindirizzamento rifiutato: il servizio rimanda da https a http");
}

}  // namespace calvorin
