// SPDX-License-Identifier: GPL-3.0-or-later
// HTTP GET over libcurl: http and https only, certificates verified, redirects not followed.
#pragma once

#include <string>

#include "platform/http/HttpTransport.h"

namespace calvorin {

// Sends one GET with no header besides Host and the User-Agent of the options. Returns the answer whatever
// its status; a body longer than options.maxBodyBytes is cut short and flagged. Throws HttpError with
// curl's message for an invalid URL, an unsupported scheme or any transport failure (time-outs included).
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
