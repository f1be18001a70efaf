// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/http/HttpHop.h"

#include <algorithm>

namespace calvorin {

using Milliseconds = std::chrono::milliseconds;

HttpDeadlines::HttpDeadlines(const HttpOptions& options)
    : connectTimeoutMs_(options.connectTimeoutMs),
      responseTimeoutMs_(options.responseTimeoutMs),
      overall_(HttpClock::now() + Milliseconds(options.connectTimeoutMs + options.responseTimeoutMs)) {}

void HttpDeadlines::RequestSent(HttpClock::time_point at) {
    if (!answer_) answer_ = std::min(overall_, at + Milliseconds(responseTimeoutMs_));
}

HttpClock::time_point HttpDeadlines::ConnectEnd() const {
    return std::min(End(), HttpClock::now() + Milliseconds(connectTimeoutMs_));
}

long RemainingMs(HttpClock::time_point deadline) {
    auto left = std::chrono::duration_cast<Milliseconds>(deadline - HttpClock::now()).count();
    return static_cast<long>(std::max<decltype(left)>(left, 1));
}

}  // namespace calvorin
