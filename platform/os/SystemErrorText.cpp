// SPDX-License-Identifier: GPL-3.0-or-later
// The user's words for a system failure, the same on every system.
#include <string>

#include "platform/os/SystemError.h"

namespace calvorin {

std::string SystemErrorText(SystemError error) {
    switch (KindOf(error)) {
        case ErrorKind::None:
            return "nessun errore";
        case ErrorKind::NotFound:
            return "file o cartella inesistente";
        case ErrorKind::AccessDenied:
            return "permesso negato";
        case ErrorKind::DiskFull:
            return "spazio su disco esaurito";
        case ErrorKind::ReadOnly:
            return "disco o file system in sola lettura";
        case ErrorKind::Busy:
            return "file in uso da un altro programma";
        case ErrorKind::AlreadyExists:
            return "esiste già";
        case ErrorKind::Interrupted:
        case ErrorKind::Other:
            break;
    }
    const std::string raw = RawSystemErrorText(error);
    std::string text = "errore di sistema " + std::to_string(error.code);
    if (!raw.empty()) text += " (" + raw + ")";
    return text;
}

}  // namespace calvorin
