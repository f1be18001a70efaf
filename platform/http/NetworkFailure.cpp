// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/http/NetworkFailure.h"

namespace calvorin {

std::string NetworkFailureText(NetworkFailure failure, std::string_view raw) {
    switch (failure) {
        case NetworkFailure::NameNotResolved:
            return "Impossibile risolvere il nome del server";
        case NetworkFailure::CannotConnect:
            return "Impossibile connettersi al server";
        case NetworkFailure::TimedOut:
            return "Tempo scaduto";
        case NetworkFailure::Certificate:
            return "Certificato del server non valido";
        case NetworkFailure::SecureChannel:
            return "Connessione sicura (https) non riuscita";
        case NetworkFailure::ConnectionLost:
            return "Connessione con il server interrotta";
        case NetworkFailure::Other:
            break;
    }
    return raw.empty() ? std::string("Errore di rete") : "Errore di rete (" + std::string(raw) + ")";
}

}  // namespace calvorin
