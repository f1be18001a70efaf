// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EditMask.h"

namespace calvorin {
namespace {

// Characters with a meaning in a Qt input mask; as literals they need a backslash.
bool IsQtMaskCharacter(char c) {
    return QStringView(u"AaNnXx90Dd#HhBb><![]{}\\;").contains(QChar(c));
}

QString QtLiteral(char c) {
    QString literal = QString::fromLatin1(&c, 1);
    return IsQtMaskCharacter(c) ? QStringLiteral("\\") + literal : literal;
}

}  // namespace

QString QtInputMask(std::string_view formMask) {
    QString mask;
    for (size_t i = 0; i < formMask.size(); ++i) {
        char c = formMask[i];
        if (c == ';') break;
        if (c == '\\' && i + 1 < formMask.size()) {
            mask += QtLiteral(formMask[++i]);
        } else if (c == '0') {
            mask += QLatin1Char('9');
        } else if (c == '9') {
            mask += QLatin1Char('0');
        } else {
            mask += QtLiteral(c);
        }
    }
    return mask;
}

}  // namespace calvorin
