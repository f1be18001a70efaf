// SPDX-License-Identifier: GPL-3.0-or-later
// Building request URLs: query parameters appended to an address as typed by the user.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace calvorin {

// Returns the URL with each name=value appended, in order, after any query it already has ("?" for the
// first, "&" otherwise), URL-encoded as needed; a fragment stays at the end. Throws HttpError with the
// URL parser's message when the text is not an absolute URL.
std::string AppendQueryParameters(const std::string& url,
                                  const std::vector<std::pair<std::string, std::string>>& parameters);

}  // namespace calvorin
