// SPDX-License-Identifier: GPL-3.0-or-later
// The failures of a request that users meet most, in the same words whatever library made the request.
#pragma once

#include <string>
#include <string_view>

namespace calvorin {

enum class NetworkFailure {
    NameNotResolved,
    CannotConnect,  // refused, or no route to the server
    TimedOut,
    Certificate,    // the server's certificate was refused
    SecureChannel,  // the https handshake failed otherwise
    ConnectionLost,
    Other,
};

// The Italian words for the failure. Only for Other is the library's own text (`raw`) added, in
// parentheses: the words of the common failures are what the user needs, the raw text what support needs
// for the rest.
std::string NetworkFailureText(NetworkFailure failure, std::string_view raw = {});

}  // namespace calvorin
