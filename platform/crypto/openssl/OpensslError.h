// SPDX-License-Identifier: GPL-3.0-or-later
// Turns OpenSSL's error queue into exceptions (Linux build only).
#pragma once

#include <string_view>

namespace calvorin {

// Throws std::runtime_error with "<operation>: <OpenSSL's reason>" and clears OpenSSL's error queue.
[[noreturn]] void ThrowOpensslError(std::string_view operation);

}  // namespace calvorin
