// SPDX-License-Identifier: GPL-3.0-or-later
// Errors of the ZIP writer and reader.
#pragma once

#include <stdexcept>
#include <string>

namespace calvorin {

// Any failure of the ZIP code: a malformed archive, an unsupported entry, a limit of the format.
class EZipException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A failure tied to the archive's password.
class EZipPasswordException : public EZipException {
  public:
    using EZipException::EZipException;
};

// An encrypted entry met without a password.
class EZipNoPassword : public EZipPasswordException {
  public:
    EZipNoPassword() : EZipPasswordException("no password") {}
};

// The decrypted check byte of an entry does not match: the password is wrong.
class EZipInvalidPassword : public EZipPasswordException {
  public:
    EZipInvalidPassword() : EZipPasswordException("invalid password") {}
};

// An operation the object cannot do in its present state (adding to an archive that is not open).
class EZipInvalidOperation : public EZipException {
  public:
    EZipInvalidOperation() : EZipException("Invalid Stream operation!") {}
};

}  // namespace calvorin
