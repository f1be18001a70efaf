// SPDX-License-Identifier: GPL-3.0-or-later
// One failure of a system call, as the system numbers it, and what the program needs to know of it.
#pragma once

#include <string>

namespace calvorin {

// The system's own number of a failure: errno on POSIX, GetLastError() on Windows. Zero is no failure.
struct SystemError {
    int code = 0;

    explicit operator bool() const { return code != 0; }
    bool operator==(const SystemError&) const = default;
};

// The failures the program treats in its own way, or names in the same words on every system; every other
// one is Other.
enum class ErrorKind {
    None,
    NotFound,
    AlreadyExists,
    Interrupted,
    Busy,
    DiskFull,
    AccessDenied,
    ReadOnly,
    Other
};

// The failure of the last system call of this thread.
SystemError LastSystemError();

// What kind of failure `error` is.
ErrorKind KindOf(SystemError error);

// A failure of the given kind as this system would report it (EIO for Other): for code that must
// report a failure it did not get from the system, such as a write that wrote nothing.
SystemError SystemErrorOf(ErrorKind kind);

// The failure in Italian, for the user: the same words on every system for its kind, or for Other and
// Interrupted "errore di sistema N" with the system's own text in parentheses. UTF-8, without a final
// full stop.
std::string SystemErrorText(SystemError error);

// The system's own text for the failure (in the system's language), UTF-8, without a final full stop or
// line break.
std::string RawSystemErrorText(SystemError error);

}  // namespace calvorin
