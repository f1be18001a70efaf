// SPDX-License-Identifier: GPL-3.0-or-later
// Which redirects a request follows: the statuses, the schemes and how many.
#pragma once

#include <string>

namespace calvorin {

// The most redirects one request follows; one more is an error.
inline constexpr int kMaxRedirects = 5;

// True for the statuses whose Location is followed: 301, 302, 303, 307 and 308.
bool IsFollowedRedirect(int status);

// Throws HttpError with a message for the user when the redirect from `from` to `to` (both absolute)
// may not be followed: a scheme other than http or https, or a step down from https to http.
void CheckRedirect(const std::string& from, const std::string& to);

}  // namespace calvorin
