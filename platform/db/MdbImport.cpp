// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbImport.h"

#include <stdexcept>

#include "platform/db/SqliteConnection.h"

namespace calvorin {

void CopyAccessTables(const std::filesystem::path& file, const std::vector<std::string>&, sqlite3*) {
    throw std::runtime_error(OpenErrorPrefix(file) + "lettura dei file Access non ancora disponibile");
}

}  // namespace calvorin
