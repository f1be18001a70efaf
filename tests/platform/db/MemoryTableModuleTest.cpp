// SPDX-License-Identifier: GPL-3.0-or-later
// Memory tables queried through SQLite give what an ordinary table holding the same values gives.
#include "platform/db/MemoryTableModule.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/db/SqliteConnection.h"

namespace calvorin {
namespace {

using ::testing::HasSubstr;

struct Value {
    enum { Null, Integer, Real, Text, Blob } kind;
    std::int64_t integer = 0;
    double real = 0;
    std::string bytes;
};

Value Make(decltype(Value::kind) kind, std::int64_t integer, double real, std::string bytes) {
    return {kind, integer, real, std::move(bytes)};
}
Value N() {
    return Make(Value::Null, 0, 0, "");
}
Value I(std::int64_t v) {
    return Make(Value::Integer, v, 0, "");
}
Value R(double v) {
    return Make(Value::Real, 0, v, "");
}
Value T(std::string v) {
    return Make(Value::Text, 0, 0, std::move(v));
}
Value B(std::string v) {
    return Make(Value::Blob, 0, 0, std::move(v));
}

constexpr std::int64_t k2To53 = std::int64_t{1} << 53;

// Columns: an integer key with repeats, a real, a text and a blob; values of every kind where the
// declared type allows them, as the Access copy produces them.
const std::vector<std::vector<Value>>& Rows() {
    static const std::vector<std::vector<Value>> rows = {
        {I(1), R(6.5), T("Rossi"), B(std::string("\0\1", 2))},
        {I(2), R(-0.0), T("rossi"), N()},
        {I(1), R(6.0), T("Àlvarez"), B("x")},
        {N(), N(), N(), N()},
        {I(-7), R(1e300), T(""), B("")},
        {I(k2To53), R(0.1), T("2"), B("2")},
        {I(k2To53 + 1), R(2.0), T("Verdi \"il\" terzo"), N()},
        {I(2), R(7.0), T("Rossi"), B("y")},
    };
    return rows;
}

void Bind(sqlite3_stmt* insert, int index, const Value& v) {
    switch (v.kind) {
        case Value::Null:
            sqlite3_bind_null(insert, index);
            break;
        case Value::Integer:
            sqlite3_bind_int64(insert, index, v.integer);
            break;
        case Value::Real:
            sqlite3_bind_double(insert, index, v.real);
            break;
        case Value::Text:
            sqlite3_bind_text(insert, index, v.bytes.data(), static_cast<int>(v.bytes.size()),
                              SQLITE_TRANSIENT);
            break;
        case Value::Blob:
            sqlite3_bind_blob(insert, index, v.bytes.data(), static_cast<int>(v.bytes.size()),
                              SQLITE_TRANSIENT);
            break;
    }
}

void Set(MemoryTable& table, MemoryTable::Cell& cell, const Value& v) {
    switch (v.kind) {
        case Value::Null:
            break;  // a new row's cells start NULL
        case Value::Integer:
            MemoryTable::SetInteger(cell, v.integer);
            break;
        case Value::Real:
            MemoryTable::SetReal(cell, v.real);
            break;
        case Value::Text:
            table.SetText(cell, v.bytes);
            break;
        case Value::Blob:
            table.SetBlob(cell, v.bytes);
            break;
    }
}

const std::vector<MemoryTable::Column> kColumns = {{"ID", MemoryTable::Kind::Integer},
                                                   {"Voto", MemoryTable::Kind::Real},
                                                   {"Nome \"breve\"", MemoryTable::Kind::Text},
                                                   {"Dati", MemoryTable::Kind::Blob}};

class MemoryTableModuleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ExecuteSql(db_.get(),
                   "CREATE TABLE Ordinaria (ID INTEGER, Voto REAL, \"Nome \"\"breve\"\"\" TEXT, Dati BLOB);"
                   "CREATE TABLE Altra (IDX INTEGER)");
        StatementPtr insert = PrepareStatement(db_.get(), "INSERT INTO Ordinaria VALUES (?, ?, ?, ?)");
        auto memory = std::make_shared<MemoryTable>("In memoria", kColumns);
        for (const auto& row : Rows()) {
            const std::span<MemoryTable::Cell> cells = memory->AppendRow();
            for (std::size_t i = 0; i < row.size(); ++i) {
                Bind(insert.get(), static_cast<int>(i) + 1, row[i]);
                Set(*memory, cells[i], row[i]);
            }
            ASSERT_EQ(sqlite3_step(insert.get()), SQLITE_DONE);
            sqlite3_reset(insert.get());
        }
        ExecuteSql(db_.get(), "INSERT INTO Altra VALUES (1), (2), (2), (NULL), (9007199254740993)");
        AttachMemoryTables(db_.get(), {memory});
    }

    // Every row of the query's result, each value as text with its storage class; rows sorted unless the
    // query orders them, as SQLite gives no order otherwise.
    std::string Dump(const std::string& sql) {
        StatementPtr stmt = PrepareStatement(db_.get(), sql);
        std::vector<std::string> rows;
        int rc = 0;
        while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
            std::string row;
            for (int i = 0; i < sqlite3_column_count(stmt.get()); ++i) {
                const auto* text = sqlite3_column_text(stmt.get(), i);
                row += std::string(text ? reinterpret_cast<const char*>(text) : "NULL") + "|" +
                       std::to_string(sqlite3_column_type(stmt.get(), i)) + " ";
            }
            rows.push_back(std::move(row));
        }
        EXPECT_EQ(rc, SQLITE_DONE) << sqlite3_errmsg(db_.get());
        if (sql.find("ORDER BY") == std::string::npos) std::sort(rows.begin(), rows.end());
        std::string out;
        for (const std::string& row : rows) out += row + "\n";
        return out;
    }

    SqlitePtr db_ = OpenSqliteMemory();
};

std::string Replace(std::string sql, const std::string& from, const std::string& to) {
    for (std::size_t at = sql.find(from); at != std::string::npos; at = sql.find(from, at + to.size()))
        sql.replace(at, from.size(), to);
    return sql;
}

TEST_F(MemoryTableModuleTest, QueriesMatchAnOrdinaryTable) {
    // "$" stands for the table: the ordinary one, then the memory one.
    const char* queries[] = {
        "SELECT * FROM $",
        "SELECT rowid, ID FROM $ WHERE ID = 1",
        "SELECT * FROM $ WHERE ID = 1.0",
        "SELECT * FROM $ WHERE ID = '2'",  // the column's affinity turns the text into a number
        "SELECT * FROM $ WHERE ID = 2.5",
        "SELECT * FROM $ WHERE ID = NULL",
        "SELECT * FROM $ WHERE ID IS NULL",
        "SELECT * FROM $ WHERE ID = 9007199254740993",  // past 2^53, where doubles collide
        "SELECT * FROM $ WHERE ID = 9007199254740992.0",
        "SELECT * FROM $ WHERE ID IN (2, -7, 99)",
        "SELECT * FROM $ WHERE Voto = 0",  // -0.0 equals 0
        "SELECT * FROM $ WHERE Voto = 6.5 OR ID = 2",
        "SELECT * FROM $ WHERE Voto = '7'",
        "SELECT * FROM $ WHERE \"Nome \"\"breve\"\"\" = 'Rossi'",
        "SELECT * FROM $ WHERE \"Nome \"\"breve\"\"\" = 2",
        "SELECT * FROM $ WHERE Dati = X'0001'",
        "SELECT ID, typeof(Voto), length(Dati), hex(Dati) FROM $ ORDER BY \"Nome \"\"breve\"\"\", ID",
        "SELECT COUNT(*), MAX(ID), SUM(Voto) FROM $ WHERE ID <> 0",
        "SELECT A.IDX, M.ID, M.Voto FROM Altra A INNER JOIN $ M ON M.ID = A.IDX ORDER BY A.IDX, M.Voto",
        "SELECT M1.ID, M2.Voto FROM $ M1 INNER JOIN $ M2 ON M1.ID = M2.ID WHERE M1.Voto > 6",
    };
    for (const char* query : queries) {
        SCOPED_TRACE(query);
        EXPECT_EQ(Dump(Replace(query, "$", "\"In memoria\"")), Dump(Replace(query, "$", "Ordinaria")));
    }
}

TEST_F(MemoryTableModuleTest, TablesCannotBeChanged) {
    const char* statements[] = {
        "INSERT INTO \"In memoria\" (ID) VALUES (3)",
        "UPDATE \"In memoria\" SET ID = 3",
        "DELETE FROM \"In memoria\"",
        "CREATE INDEX Ix ON \"In memoria\" (ID)",
    };
    for (const char* sql : statements) {
        SCOPED_TRACE(sql);
        EXPECT_THROW(ExecuteSql(db_.get(), sql), std::runtime_error);
    }
    EXPECT_EQ(Dump("SELECT COUNT(*) FROM \"In memoria\""), "8|1 \n");
}

TEST(MemoryTableModule, ADeclarationSQLiteRefusesIsAnError) {
    SqlitePtr db = OpenSqliteMemory();
    auto table = std::make_shared<MemoryTable>(
        "Doppia", std::vector<MemoryTable::Column>{{"ID", MemoryTable::Kind::Integer},
                                                   {"id", MemoryTable::Kind::Text}});
    try {
        AttachMemoryTables(db.get(), {table});
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_THAT(e.what(), HasSubstr("duplicate column name"));
    }
}

}  // namespace
}  // namespace calvorin
