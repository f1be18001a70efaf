// SPDX-License-Identifier: GPL-3.0-or-later
// HTTP GET over libcurl: http and https only, certificates verified, a few redirects followed, one deadline.
#pragma once

#include <string>

#include "platform/http/HttpTransport.h"

namespace calvorin {

// Sends one GET with no header besides Host and the User-Agent of the options. Follows up to kMaxRedirects
// redirects (301, 302, 303, 307, 308) over http and https, never from https to http. Returns the answer
// whatever its status; a body longer than options.maxBodyBytes is cut short and flagged. The whole call
// ends within connectTimeoutMs + responseTimeoutMs, and the answer within responseTimeoutMs of the first
// request, however slowly the server sends. Throws HttpError with curl's message for an invalid URL, an
// unsupported scheme or a transport failure (time-outs included), and with a message of ours for a redirect
// refused, a loop, one redirect too many or header lines over their limit.
HttpResponse HttpGet(const std::string& url, const HttpOptions& options);

// The transport the program uses: HttpGet with fixed options.
class CurlTransport : public HttpTransport {
  public:
    explicit CurlTransport(HttpOptions options) : options_(std::move(options)) {}
    HttpResponse Get(const std::string& url) override { return HttpGet(url, options_); }

  private:
    HttpOptions options_;
};

}  // namespace calvorin
