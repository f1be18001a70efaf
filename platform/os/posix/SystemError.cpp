// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/os/SystemError.h"

#include <cerrno>
#include <cstring>

namespace calvorin {

SystemError LastSystemError() {
    return {errno};
}

ErrorKind KindOf(SystemError error) {
    switch (error.code) {
        case 0:
            return ErrorKind::None;
        case ENOENT:
            return ErrorKind::NotFound;
        case EEXIST:
            return ErrorKind::AlreadyExists;
        case EINTR:
            return ErrorKind::Interrupted;
        case EBUSY:
        case ETXTBSY:
            return ErrorKind::Busy;
        case ENOSPC:
        case EDQUOT:
            return ErrorKind::DiskFull;
        case EACCES:
        case EPERM:
            return ErrorKind::AccessDenied;
        case EROFS:
            return ErrorKind::ReadOnly;
        default:
            return ErrorKind::Other;
    }
}

SystemError SystemErrorOf(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::None:
            return {};
        case ErrorKind::NotFound:
            return {ENOENT};
        case ErrorKind::AlreadyExists:
            return {EEXIST};
        case ErrorKind::Interrupted:
            return {EINTR};
        case ErrorKind::Busy:
            return {EBUSY};
        case ErrorKind::DiskFull:
            return {ENOSPC};
        case ErrorKind::AccessDenied:
            return {EACCES};
        case ErrorKind::ReadOnly:
            return {EROFS};
        case ErrorKind::Other:
            break;
    }
    return {EIO};
}

std::string RawSystemErrorText(SystemError error) {
    return std::strerror(error.code);
}

}  // namespace calvorin
