// SPDX-License-Identifier: GPL-3.0-or-later
// The service's JSON answer, parsed so that every member keeps its place and its repetitions.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

namespace calvorin {

// Objects keep their members in the order they were sent, a name sent twice included: the merge applies
// them in that order, each one, as the service meant them. Looking a member up by name (find) gives its
// first occurrence.
using ServiceAnswer = nlohmann::ordered_json;

// Parses one JSON text; nothing when it is not valid JSON (trailing text included).
std::optional<ServiceAnswer> ParseServiceAnswer(std::string_view json);

}  // namespace calvorin
