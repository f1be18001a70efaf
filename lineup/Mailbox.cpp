// SPDX-License-Identifier: GPL-3.0-or-later
// An e-mail mailbox (display name and address) read as typed and written back in standard form.
#include "lineup/Mailbox.h"

#include "platform/text/Trim.h"

namespace calvorin {

namespace {

// Undoes the quoting of a display name written as a quoted string.
std::string Unquote(std::string_view name) {
    if (name.size() < 2 || name.front() != '"' || name.back() != '"') return std::string(name);
    std::string out;
    for (std::size_t i = 1; i + 1 < name.size(); ++i) {
        if (name[i] == '\\' && i + 2 < name.size()) ++i;
        out += name[i];
    }
    return out;
}

bool IsAtomTextOrSpace(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    return std::string_view(" `!#$%&'*+-/=?_{}|~").find(c) != std::string_view::npos;
}

}  // namespace

Mailbox ParseMailbox(std::string_view text) {
    const std::string_view t = TrimView(text);
    const std::size_t open = t.rfind('<');
    if (t.empty() || t.back() != '>' || open == std::string_view::npos) return {"", std::string(t)};
    Mailbox m;
    m.address = Trim(t.substr(open + 1, t.size() - open - 2));
    m.displayName = Unquote(TrimView(t.substr(0, open)));
    return m;
}

std::string FormatMailbox(const Mailbox& m) {
    if (m.displayName.empty() || m.displayName == m.address) return m.address;
    std::string name;
    bool plain = true;
    for (char c : m.displayName) plain = plain && IsAtomTextOrSpace(c);
    if (plain) {
        name = m.displayName;
    } else {
        name = "\"";
        for (char c : m.displayName) {
            if (c == '"' || c == '\\') name += '\\';
            name += c;
        }
        name += '"';
    }
    return name + " <" + m.address + ">";
}

namespace {

// The sender becomes a mail header on the server: a line break inside it would start another header.
std::string WithoutLineBreaks(std::string text) {
    for (char& c : text)
        if (IsBlankOrControl(c)) c = ' ';
    return text;
}

}  // namespace

std::string FormatSender(std::string_view typed, std::string_view defaultName) {
    const std::string t = WithoutLineBreaks(Trim(typed));
    if (t.empty()) return {};
    Mailbox m = ParseMailbox(t);
    if (m.displayName.empty()) m.displayName = Trim(WithoutLineBreaks(std::string(defaultName)));
    return FormatMailbox(m);
}

}  // namespace calvorin
