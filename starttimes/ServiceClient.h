// SPDX-License-Identifier: GPL-3.0-or-later
// The client of the start-time update service: the request, the checks on the answer, its update time.
#pragma once

#include <optional>
#include <string>

#include "platform/http/HttpTransport.h"
#include "starttimes/LocalDateTime.h"
#include "starttimes/ServiceAnswer.h"

namespace calvorin {

// The options every request to the service uses: the application title as User-Agent, 15-second
// connection and response time-outs, a body of at most 1 MiB.
HttpOptions ServiceHttpOptions();

// Returns the URL with "servizio=orariseriea" and "anno=<seasonYear>" appended after any query it has.
// Throws HttpError with the URL parser's message when the text is not an absolute URL.
std::string ServiceRequestUrl(const std::string& url, int seasonYear);

// Sends the request and returns the parsed answer, whatever its JSON type. Throws std::runtime_error with
// the reason phrase when the status is not 200, "Risposta non valida" when the body is too large or not
// JSON, and HttpError with the transport's message for an invalid URL or a transport failure. A number no
// double can hold becomes null (NullOutOfRangeNumbers); no text of the JSON library reaches the caller.
ServiceAnswer GetOrariServizio(HttpTransport& transport, const std::string& url, int seasonYear);

// Returns the member "aggiornamento" as a date-time, or nothing when the answer is not an object, the
// member is missing or not a string, or its text fails the storage pattern.
std::optional<LocalDateTime> ServiceUpdateTime(const ServiceAnswer& answer);

}  // namespace calvorin
