// SPDX-License-Identifier: GPL-3.0-or-later
// The SQLite collation that orders texts as Access's "General" sort order does.
#pragma once

#include <string_view>

struct sqlite3;

namespace calvorin {

// Jet 3 (Access 97) and Jet 4 (Access 2000-2007, FCM's files) order texts alike on letters and digits
// but not on everything: Jet 4 leaves hyphens and apostrophes out of the comparison, spells Þ as
// "th", reads Ø and Ð as O and D with a diacritic, ranks the acute accent before the grave, and
// places punctuation differently.
enum class AccessSortOrder { Jet3, Jet4 };

// The name queries use: ORDER BY Nome COLLATE ACCESS.
inline constexpr const char* kAccessCollation = "ACCESS";

// Compares two UTF-8 texts: letters and digits without regard to case or accents first, then the
// accents, letter by letter. Access holds texts that differ only in case (or in characters it leaves
// out) equal; those are ordered by code point so that the order is total. Bytes that are not UTF-8
// are read as Windows-1252. Letters of other scripts come after Latin ones, by code point. Returns a
// negative number, 0 or a positive number.
int CompareAccessText(std::string_view a, std::string_view b, AccessSortOrder order);

// Registers the collation on the connection. Throws std::runtime_error with SQLite's message when it
// refuses.
void RegisterAccessCollation(sqlite3* db, AccessSortOrder order);

}  // namespace calvorin
