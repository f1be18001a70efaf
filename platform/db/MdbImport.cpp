// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbImport.h"

#include <algorithm>
#include <stdexcept>

#include "platform/db/JetFile.h"
#include "platform/db/JetLongValue.h"
#include "platform/db/MdbCatalog.h"
#include "platform/db/MdbTableCopy.h"
#include "platform/db/MemoryTableModule.h"
#include "platform/db/SqliteConnection.h"
#include "platform/text/Trim.h"

namespace calvorin {
namespace {

// Keeps the catalog entries of the wanted tables; names compare as Jet compares them, without case.
// A wanted table the file lacks is left out, so the query naming it fails with "no such table".
std::vector<const JetCatalogEntry*> Wanted(const std::vector<JetCatalogEntry>& all,
                                           const std::vector<std::string>& names) {
    std::vector<const JetCatalogEntry*> wanted;
    for (const JetCatalogEntry& entry : all) {
        const auto named = [&](const std::string& name) { return EqualsIgnoreAsciiCase(entry.name, name); };
        if (names.empty() || std::any_of(names.begin(), names.end(), named)) wanted.push_back(&entry);
    }
    return wanted;
}

}  // namespace

void CopyAccessTables(const std::filesystem::path& file, const std::vector<std::string>& tables,
                      sqlite3* target) {
    try {
        const JetFile access(file);
        const std::vector<JetCatalogEntry> catalog = ReadUserTables(access);
        JetLongValueReader longValues(access);
        std::vector<std::shared_ptr<const MemoryTable>> copies;
        for (const JetCatalogEntry* entry : Wanted(catalog, tables))
            copies.push_back(CopyMdbTable(access, *entry, longValues));
        AttachMemoryTables(target, std::move(copies));
    } catch (const std::exception& e) {
        throw std::runtime_error(OpenErrorPrefix(file) + e.what());
    }
}

}  // namespace calvorin
