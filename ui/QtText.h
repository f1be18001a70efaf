// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between the model's UTF-8 strings and Qt's strings.
#pragma once

#include <QString>
#include <string>

namespace calvorin {

inline QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) {
    return text.toStdString();
}

}  // namespace calvorin
