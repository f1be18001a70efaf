// SPDX-License-Identifier: GPL-3.0-or-later
// One GET without following its redirect: what HttpGet asks of the system's HTTP library.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "platform/http/HttpTransport.h"

namespace calvorin {

using HttpClock = std::chrono::steady_clock;

// Header lines of one answer beyond this many bytes end the hop: the library keeps them in memory.
inline constexpr std::size_t kMaxHeaderBytes = std::size_t{256} * 1024;

// The two limits of a whole request, redirects included: everything within connect plus response
// time-out of the start, and the answer within the response time-out of the moment the first request
// went out. A server that trickles bytes cannot stretch either.
class HttpDeadlines {
  public:
    // Starts the overall limit now.
    explicit HttpDeadlines(const HttpOptions& options);

    // Starts the answer's limit the first time a request is on its way (`at`); later calls change nothing.
    void RequestSent(HttpClock::time_point at = HttpClock::now());
    bool AnswerStarted() const { return answer_.has_value(); }
    // When the current hop must end: the answer's limit once a request went out, the overall one before.
    HttpClock::time_point End() const { return answer_.value_or(overall_); }
    // When the connection of a hop starting now must be up: connect time-out from now, within End().
    HttpClock::time_point ConnectEnd() const;
    long ResponseTimeoutMs() const { return responseTimeoutMs_; }

  private:
    long connectTimeoutMs_;
    long responseTimeoutMs_;
    HttpClock::time_point overall_;
    std::optional<HttpClock::time_point> answer_;
};

// The milliseconds from now until `deadline`, at least 1.
long RemainingMs(HttpClock::time_point deadline);

// A hop's failure whose message HttpGet words itself; what() is the library's own text.
class HopError : public HttpError {
  public:
    enum class Kind {
        AnswerTimeout,   // the answer was not complete by its deadline
        ConnectTimeout,  // no connection by the connect time-out
        HeaderTooLarge,  // header lines over kMaxHeaderBytes
    };
    HopError(Kind kind, const std::string& libraryText) : HttpError(libraryText), kind_(kind) {}
    Kind kind() const { return kind_; }

  private:
    Kind kind_;
};

struct HopAnswer {
    HttpResponse response;
    std::string location;  // a redirect's absolute target; empty when the answer names none
};

// Sends one GET at a time over the system's HTTP library, following no redirect.
class HttpHop {
  public:
    virtual ~HttpHop() = default;

    // Sends GET `url` (absolute, http or https) with no header besides Host and options.userAgent, over
    // a connection made within deadlines.ConnectEnd(); calls deadlines.RequestSent() once the request is
    // on its way, and ends by deadlines.End(). Returns the answer whatever its status, a body longer than
    // options.maxBodyBytes cut to it and flagged, and the Location of the answer resolved against `url`.
    // Throws HopError for a time-out or header lines over their limit, and HttpError with the library's
    // message for an invalid URL or any other failure of the transport.
    virtual HopAnswer Get(const std::string& url, const HttpOptions& options, HttpDeadlines& deadlines) = 0;
};

// The hop over the system's HTTP library: libcurl on Linux, WinHTTP on Windows. The build picks the
// definition.
std::unique_ptr<HttpHop> MakeSystemHttpHop();

}  // namespace calvorin
