// SPDX-License-Identifier: GPL-3.0-or-later
// One HTTP GET and what it returns; the interface through which features reach the network.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace calvorin {

struct HttpOptions {
    std::string userAgent;           // empty: no User-Agent header
    long connectTimeoutMs = 15000;   // name resolution, connection and TLS handshake
    long responseTimeoutMs = 15000;  // the whole answer, redirects included, once the first request is sent
    std::size_t maxBodyBytes = 1 << 20;  // a longer body is not read to its end
};

struct HttpResponse {
    int status = 0;
    std::string reason;         // the status line's reason phrase (bounded), or the standard one when none
    std::string body;           // raw bytes, at most maxBodyBytes
    bool bodyTooLarge = false;  // the body went over maxBodyBytes; `body` is incomplete
};

// A failure of the transport itself (invalid URL, name resolution, connection, time-out, TLS), carrying
// the HTTP library's own message.
class HttpError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Sends GET requests. Implementations throw HttpError for transport failures; any status is an answer.
class HttpTransport {
  public:
    virtual ~HttpTransport() = default;
    virtual HttpResponse Get(const std::string& url) = 0;
};

}  // namespace calvorin
