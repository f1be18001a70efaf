// SPDX-License-Identifier: GPL-3.0-or-later
// The words that say why a run stopped.
#include "platform/os/StopRequest.h"

namespace calvorin {
namespace {

const char* StopText(StopCause cause) {
    switch (cause) {
        case StopCause::Interrupt:
            return "Procedura interrotta (Ctrl+C)";
        case StopCause::Terminate:
            return "Procedura interrotta: il sistema ha chiesto di terminare il programma";
        case StopCause::User:
        case StopCause::None:
            break;
    }
    return "Procedura interrotta dall'utente";
}

}  // namespace

RunStopped::RunStopped(StopCause cause) : std::runtime_error(StopText(cause)) {}

}  // namespace calvorin
