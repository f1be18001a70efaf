// SPDX-License-Identifier: GPL-3.0-or-later
// An e-mail mailbox (display name and address) read as typed and written back in standard form.
#pragma once

#include <string>
#include <string_view>

namespace calvorin {

struct Mailbox {
    std::string displayName;  // without quotes or escapes
    std::string address;
};

// Reads "address", "<address>", "Name <address>" or "\"Quoted name\" <address>" (RFC 5322 mailbox; the
// quoted name may hold backslash escapes). Text that does not end in "<...>" is taken whole as the
// address. Never fails.
Mailbox ParseMailbox(std::string_view text);

// Writes the mailbox in standard form: the address alone when the display name is empty or equal to it;
// otherwise the display name, a space and "<address>", the name as it is when made only of atom characters
// and spaces, else between double quotes with a backslash before each double quote and backslash.
std::string FormatMailbox(const Mailbox& mailbox);

// The sender of the submission e-mails: the trimmed text parsed as a mailbox, `defaultName` (the league
// name) as display name when it has none, written back in standard form. An empty text gives "".
std::string FormatSender(std::string_view typed, std::string_view defaultName);

}  // namespace calvorin
