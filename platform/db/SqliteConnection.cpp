// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/db/SqliteConnection.h"

#include <sqlite3.h>

#include <algorithm>
#include <stdexcept>

#include "platform/os/PathText.h"
#include "platform/text/Trim.h"

namespace calvorin {
namespace {

constexpr int kBusyTimeoutMs = 5000;

bool IsUriSafe(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
           c == '.' || c == '_' || c == '-' || c == '~';
}

// "mode=ro" opens for reading only and never creates a missing file. The league may be in WAL mode with
// committed changes still in its "-wal" file (its writer still open, or crashed): SQLite reads them, and
// to do so it may create the "-wal" and "-shm" files beside it; the league file itself is never written.
std::string ReadOnlyUri(const std::filesystem::path& file) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    std::string name = PathText(std::filesystem::absolute(file));
    // SQLite's URIs name a Windows file with "/" only, its drive after a leading "/": file:/C:/Leghe/x.
    std::replace(name.begin(), name.end(), '\\', '/');
    if (name.size() > 1 && name[1] == ':') name.insert(0, "/");
    for (unsigned char c : name) {
        if (IsUriSafe(c)) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 0x0F];
        }
    }
    return uri + "?mode=ro";
}

SqlitePtr OpenOrThrow(const std::string& name, int flags, const std::string& prefix) {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(name.c_str(), &raw, flags, nullptr);
    SqlitePtr db(raw);
    if (rc != SQLITE_OK) {
        if (!db) throw std::runtime_error(prefix + sqlite3_errstr(rc));
        ThrowSqliteError(db.get(), prefix);
    }
    return db;
}

}  // namespace

void SqliteCloser::operator()(sqlite3* db) const noexcept {
    sqlite3_close_v2(db);
}

void SqliteFinalizer::operator()(sqlite3_stmt* stmt) const noexcept {
    sqlite3_finalize(stmt);
}

std::string OpenErrorPrefix(const std::filesystem::path& file) {
    return "Impossibile aprire il database \"" + PathText(file) + "\": ";
}

SqlitePtr OpenSqliteFileReadOnly(const std::filesystem::path& file) {
    const std::string prefix = OpenErrorPrefix(file);
    SqlitePtr db =
        OpenOrThrow(ReadOnlyUri(file), SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI, prefix);
    // A writer holding its lock for a moment (FCM saving) is waited for, not taken for an error.
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    // SQLite reads the header lazily: touch the schema now so a damaged file fails here.
    if (sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
        ThrowSqliteError(db.get(), prefix);
    return db;
}

SqlitePtr OpenSqliteMemory() {
    return OpenOrThrow(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                       "Impossibile creare il database in memoria: ");
}

StatementPtr PrepareStatement(sqlite3* db, std::string_view sql) {
    const std::string prefix = "Errore nella query \"" + std::string(sql) + "\": ";
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, &tail);
    StatementPtr stmt(raw);
    if (rc != SQLITE_OK) ThrowSqliteError(db, prefix);
    if (!stmt) throw std::runtime_error(prefix + "nessuna istruzione");
    std::string_view rest(tail, static_cast<std::size_t>(sql.data() + sql.size() - tail));
    if (!std::all_of(rest.begin(), rest.end(), [](char c) { return IsBlankOrControl(c) || c == ';'; }))
        throw std::runtime_error(prefix + "più di un'istruzione");
    return stmt;
}

void ExecuteSql(sqlite3* db, std::string_view sql) {
    std::string text(sql);
    char* message = nullptr;
    if (sqlite3_exec(db, text.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return;
    std::string reason = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    throw std::runtime_error("Errore nella query \"" + text + "\": " + reason);
}

void ThrowSqliteError(sqlite3* db, std::string_view prefix) {
    throw std::runtime_error(std::string(prefix) + sqlite3_errmsg(db));
}

}  // namespace calvorin
