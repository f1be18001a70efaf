// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/MemoryTableModule.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <new>
#include <span>
#include <string>

#include "platform/db/SqliteConnection.h"

namespace calvorin {
namespace {

constexpr const char* kModuleName = "calvorin_memoria";

struct Registry {
    std::vector<std::shared_ptr<const MemoryTable>> tables;
};

struct TableVtab : sqlite3_vtab {
    std::shared_ptr<const MemoryTable> table;
};

struct TableCursor : sqlite3_vtab_cursor {
    const MemoryTable* table = nullptr;
    std::span<const std::uint32_t> candidates;  // the look-up's rows, when a lookup answers the filter
    bool lookup = false;
    std::size_t position = 0;
    std::size_t end = 0;

    std::size_t Row() const { return lookup ? candidates[position] : position; }
};

std::string Quoted(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) quoted += (c == '"') ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

const char* DeclaredType(MemoryTable::Kind kind) {
    switch (kind) {
        case MemoryTable::Kind::Integer:
            return "INTEGER";
        case MemoryTable::Kind::Real:
            return "REAL";
        case MemoryTable::Kind::Text:
            return "TEXT";
        default:
            return "BLOB";
    }
}

std::string SchemaOf(const MemoryTable& table) {
    std::string sql = "CREATE TABLE x(";
    for (std::size_t i = 0; i < table.Columns().size(); ++i)
        sql +=
            (i ? ", " : "") + Quoted(table.Columns()[i].name) + " " + DeclaredType(table.Columns()[i].type);
    return sql + ")";
}

bool IsNumeric(const MemoryTable::Column& column) {
    return column.type == MemoryTable::Kind::Integer || column.type == MemoryTable::Kind::Real;
}

// xCreate and xConnect alike: the module's one argument is the table's place in the registry.
int Connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out, char** error) {
    try {
        const auto& tables = static_cast<Registry*>(aux)->tables;
        std::size_t index = tables.size();
        if (argc == 4) std::from_chars(argv[3], argv[3] + std::char_traits<char>::length(argv[3]), index);
        if (index >= tables.size()) {
            *error = sqlite3_mprintf("tabella in memoria sconosciuta");
            return SQLITE_ERROR;
        }
        const int rc = sqlite3_declare_vtab(db, SchemaOf(*tables[index]).c_str());
        if (rc != SQLITE_OK) {
            *error = sqlite3_mprintf("%s", sqlite3_errmsg(db));
            return rc;
        }
        auto* vtab = new TableVtab{};
        vtab->table = tables[index];
        *out = vtab;
        return SQLITE_OK;
    } catch (const std::bad_alloc&) {
        return SQLITE_NOMEM;
    }
}

int Disconnect(sqlite3_vtab* vtab) {
    delete static_cast<TableVtab*>(vtab);
    return SQLITE_OK;
}

// Takes the usable "=" on a numeric column that narrows the rows most; SQLite still tests it (omit stays
// 0), so the look-up only has to return every matching row. The estimates steer SQLite's join order.
int BestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info) {
    const MemoryTable& table = *static_cast<TableVtab*>(vtab)->table;
    const auto rows = static_cast<double>(table.RowCount());
    double best = rows;
    int chosen = -1;
    try {
        for (int i = 0; i < info->nConstraint; ++i) {
            const auto& constraint = info->aConstraint[i];
            if (!constraint.usable || constraint.op != SQLITE_INDEX_CONSTRAINT_EQ || constraint.iColumn < 0 ||
                !IsNumeric(table.Columns()[static_cast<std::size_t>(constraint.iColumn)]))
                continue;
            const double perKey = table.RowsPerKey(static_cast<std::size_t>(constraint.iColumn));
            if (chosen < 0 || perKey < best) {
                chosen = i;
                best = perKey;
            }
        }
    } catch (const std::bad_alloc&) {
        return SQLITE_NOMEM;
    }
    info->idxNum = 0;
    info->estimatedCost = rows + 1;
    info->estimatedRows = static_cast<sqlite3_int64>(rows) + 1;
    if (chosen >= 0) {
        info->aConstraintUsage[chosen].argvIndex = 1;
        info->idxNum = info->aConstraint[chosen].iColumn + 1;
        info->estimatedCost = std::log2(rows + 2) + best;
        info->estimatedRows = static_cast<sqlite3_int64>(best) + 1;
    }
    return SQLITE_OK;
}

int Open(sqlite3_vtab* vtab, sqlite3_vtab_cursor** out) {
    auto* cursor = new (std::nothrow) TableCursor{};
    if (!cursor) return SQLITE_NOMEM;
    cursor->table = static_cast<TableVtab*>(vtab)->table.get();
    *out = cursor;
    return SQLITE_OK;
}

int Close(sqlite3_vtab_cursor* cursor) {
    delete static_cast<TableCursor*>(cursor);
    return SQLITE_OK;
}

int Filter(sqlite3_vtab_cursor* base, int idxNum, const char*, int argc, sqlite3_value** argv) {
    auto* cursor = static_cast<TableCursor*>(base);
    cursor->position = 0;
    cursor->lookup = false;
    cursor->end = cursor->table->RowCount();
    if (idxNum <= 0 || argc < 1) return SQLITE_OK;
    double key = 0;
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_INTEGER:
            key = static_cast<double>(sqlite3_value_int64(argv[0]));
            break;
        case SQLITE_FLOAT:
            key = sqlite3_value_double(argv[0]);
            break;
        case SQLITE_NULL:  // "=" never holds with NULL
            cursor->end = 0;
            return SQLITE_OK;
        default:  // text or blob: SQLite's affinity rules decide, on every row
            return SQLITE_OK;
    }
    try {
        cursor->candidates = cursor->table->RowsEqualTo(static_cast<std::size_t>(idxNum - 1), key);
    } catch (const std::bad_alloc&) {
        return SQLITE_NOMEM;
    }
    cursor->lookup = true;
    cursor->end = cursor->candidates.size();
    return SQLITE_OK;
}

int Next(sqlite3_vtab_cursor* cursor) {
    ++static_cast<TableCursor*>(cursor)->position;
    return SQLITE_OK;
}

int Eof(sqlite3_vtab_cursor* base) {
    const auto* cursor = static_cast<TableCursor*>(base);
    return cursor->position >= cursor->end;
}

int Column(sqlite3_vtab_cursor* base, sqlite3_context* context, int column) {
    const auto* cursor = static_cast<TableCursor*>(base);
    const MemoryTable& table = *cursor->table;
    const MemoryTable::Cell& cell = table.At(cursor->Row(), static_cast<std::size_t>(column));
    switch (cell.kind) {
        case MemoryTable::Kind::Null:
            sqlite3_result_null(context);
            break;
        case MemoryTable::Kind::Integer:
            sqlite3_result_int64(context, cell.integer);
            break;
        case MemoryTable::Kind::Real:
            sqlite3_result_double(context, cell.real);
            break;
        case MemoryTable::Kind::Text:  // the table outlives every statement of the connection
            sqlite3_result_text64(context, table.Bytes(cell).data(), cell.size, SQLITE_STATIC, SQLITE_UTF8);
            break;
        case MemoryTable::Kind::Blob:
            sqlite3_result_blob64(context, table.Bytes(cell).data(), cell.size, SQLITE_STATIC);
            break;
    }
    return SQLITE_OK;
}

int Rowid(sqlite3_vtab_cursor* base, sqlite3_int64* rowid) {
    *rowid = static_cast<sqlite3_int64>(static_cast<TableCursor*>(base)->Row()) + 1;
    return SQLITE_OK;
}

sqlite3_module MakeModule() {
    sqlite3_module module{};
    module.xCreate = Connect;
    module.xConnect = Connect;
    module.xBestIndex = BestIndex;
    module.xDisconnect = Disconnect;
    module.xDestroy = Disconnect;
    module.xOpen = Open;
    module.xClose = Close;
    module.xFilter = Filter;
    module.xNext = Next;
    module.xEof = Eof;
    module.xColumn = Column;
    module.xRowid = Rowid;
    return module;  // no xUpdate: the tables cannot be written
}

const sqlite3_module kModule = MakeModule();

}  // namespace

void AttachMemoryTables(sqlite3* db, std::vector<std::shared_ptr<const MemoryTable>> tables) {
    auto registry = std::make_unique<Registry>();
    registry->tables = std::move(tables);
    const Registry& attached = *registry;
    // SQLite owns the registry from here, and frees it when the connection closes (or on failure).
    const int rc = sqlite3_create_module_v2(db, kModuleName, &kModule, registry.release(),
                                            [](void* aux) { delete static_cast<Registry*>(aux); });
    if (rc != SQLITE_OK) ThrowSqliteError(db, "Impossibile preparare le tabelle in memoria: ");
    for (std::size_t i = 0; i < attached.tables.size(); ++i)
        ExecuteSql(db, "CREATE VIRTUAL TABLE " + Quoted(attached.tables[i]->Name()) + " USING " +
                           kModuleName + "(" + std::to_string(i) + ")");
}

}  // namespace calvorin
