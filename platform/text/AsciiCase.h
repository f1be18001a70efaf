// SPDX-License-Identifier: GPL-3.0-or-later
// Case folding of ASCII letters only, as Windows compares file names that FCM writes.
#pragma once

namespace calvorin {

// Folds a-z to A-Z; every other byte keeps its code, so accented letters stay as they are.
inline unsigned char FoldAscii(char c) {
    auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
}

}  // namespace calvorin
