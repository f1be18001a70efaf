// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/Database.h"

#include <sqlite3.h>

#include <stdexcept>

#include "platform/db/AccessCollation.h"
#include "platform/db/DatabaseKind.h"
#include "platform/db/IndexedLookup.h"
#include "platform/db/MdbImport.h"
#include "platform/db/SqliteConnection.h"

namespace calvorin {

struct Database::Impl {
    SqlitePtr db;
    bool accessCopy = false;
};

Database::Database(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Database::Database(Database&&) noexcept = default;
Database& Database::operator=(Database&&) noexcept = default;
Database::~Database() = default;

Database Database::Open(const std::filesystem::path& file, const std::vector<std::string>& accessTables) {
    auto impl = std::make_unique<Impl>();
    const DatabaseKind kind = DetectDatabaseKind(file);
    if (kind == DatabaseKind::Sqlite) {
        impl->db = OpenSqliteFileReadOnly(file);
        // Our SQLite league files stand in for FCM's Jet 4 ones.
        RegisterAccessCollation(impl->db.get(), AccessSortOrder::Jet4);
    } else {
        impl->db = OpenSqliteMemory();
        RegisterAccessCollation(impl->db.get(),
                                kind == DatabaseKind::Jet3 ? AccessSortOrder::Jet3 : AccessSortOrder::Jet4);
        CopyAccessTables(file, accessTables, impl->db.get());
        impl->accessCopy = true;
    }
    return Database(std::move(impl));
}

void Database::IndexLookups(const std::vector<IndexedLookup>& lookups) {
    if (!impl_->accessCopy) calvorin::IndexLookups(impl_->db.get(), lookups);
}

Query Database::Prepare(std::string_view sql) {
    StatementPtr stmt = PrepareStatement(impl_->db.get(), sql);
    return Query(impl_->db.get(), stmt.release());
}

bool Database::IsAccessCopy() const {
    return impl_->accessCopy;
}

}  // namespace calvorin
