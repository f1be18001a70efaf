// SPDX-License-Identifier: GPL-3.0-or-later
// The user's words for a system failure, the same on every system.
#include <string>

#include "platform/os/SystemError.h"

namespace calvorin {

std::string SystemErrorText(SystemError error) {
    switch (CommonReasonOf(error)) {
        case CommonReason::None:
            return "nessun errore";
        case CommonReason::NotFound:
            return "file o cartella inesistente";
        case CommonReason::AccessDenied:
            return "permesso negato";
        case CommonReason::DiskFull:
            return "spazio su disco esaurito";
        case CommonReason::ReadOnly:
            return "disco o file system in sola lettura";
        case CommonReason::Busy:
            return "file in uso da un altro programma";
        case CommonReason::AlreadyExists:
            return "esiste già";
        case CommonReason::Other:
            break;
    }
    const std::string raw = RawSystemErrorText(error);
    std::string text = "errore di sistema " + std::to_string(error.code);
    if (!raw.empty()) text += " (" + raw + ")";
    return text;
}

}  // namespace calvorin
