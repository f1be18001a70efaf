// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MdbImport.h"

#include <algorithm>
#include <stdexcept>

#include "platform/db/MdbCatalog.h"
#include "platform/db/MdbHandles.h"
#include "platform/db/MdbTableCopy.h"
#include "platform/db/MemoryTableModule.h"
#include "platform/db/SqliteConnection.h"
#include "platform/text/Trim.h"

namespace calvorin {
namespace {

// MDB_NOFLAGS opens the file for reading only.
MdbPtr OpenReadOnly(const std::filesystem::path& file) {
    MdbPtr mdb(mdb_open(file.c_str(), MDB_NOFLAGS));
    if (!mdb) throw std::runtime_error("formato Access non riconosciuto");
    // A file cut short loses whole pages; libmdb would just stop reading and return fewer rows.
    if (std::filesystem::file_size(file) % static_cast<std::uintmax_t>(mdb->fmt->pg_size) != 0)
        throw std::runtime_error("file troncato");
    return mdb;
}

// Keeps the catalog entries of the wanted tables; names compare as Jet compares them, without case.
// A wanted table the file lacks is left out, so the query naming it fails with "no such table".
std::vector<MdbCatalogEntry*> Wanted(std::vector<MdbCatalogEntry>& all,
                                     const std::vector<std::string>& names) {
    std::vector<MdbCatalogEntry*> wanted;
    for (MdbCatalogEntry& entry : all) {
        const auto named = [&](const std::string& name) {
            return EqualsIgnoreAsciiCase(entry.object_name, name);
        };
        if (names.empty() || std::any_of(names.begin(), names.end(), named)) wanted.push_back(&entry);
    }
    return wanted;
}

}  // namespace

void CopyAccessTables(const std::filesystem::path& file, const std::vector<std::string>& tables,
                      sqlite3* target) {
    try {
        MdbPtr mdb = OpenReadOnly(file);
        std::vector<MdbCatalogEntry> catalog = ReadUserTables(mdb.get());
        std::vector<std::shared_ptr<const MemoryTable>> copies;
        for (MdbCatalogEntry* entry : Wanted(catalog, tables)) copies.push_back(CopyMdbTable(entry));
        AttachMemoryTables(target, std::move(copies));
    } catch (const std::exception& e) {
        throw std::runtime_error(OpenErrorPrefix(file) + e.what());
    }
}

}  // namespace calvorin
