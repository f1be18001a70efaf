// SPDX-License-Identifier: GPL-3.0-or-later
// HTTP GET: http and https only, certificates verified, a few redirects followed, one deadline.
#pragma once

#include <memory>
#include <string>

#include "platform/http/HttpHop.h"
#include "platform/http/HttpTransport.h"

namespace calvorin {

// Sends one GET over `hop` with no header besides Host and the User-Agent of the options. Follows up to
// kMaxRedirects redirects (301, 302, 303, 307, 308) over http and https, never from https to http.
// Returns the answer whatever its status; a body longer than options.maxBodyBytes is cut short and
// flagged. The whole call ends within connectTimeoutMs + responseTimeoutMs, and the answer within
// responseTimeoutMs of the first request, however slowly the server sends. Throws HttpError with the
// library's message for an invalid URL, an unsupported scheme or a transport failure, followed for a
// time-out by ": risposta non completa entro <n> millisecondi" (or "connessione non stabilita ..."), and
// with a message of ours for a redirect refused, a loop, one redirect too many or header lines over
// their limit.
HttpResponse HttpGet(HttpHop& hop, const std::string& url, const HttpOptions& options);

// The same over the system's hop (MakeSystemHttpHop).
HttpResponse HttpGet(const std::string& url, const HttpOptions& options);

// The transport the program uses: HttpGet over the system's hop with fixed options.
std::unique_ptr<HttpTransport> MakeHttpTransport(HttpOptions options);

}  // namespace calvorin
