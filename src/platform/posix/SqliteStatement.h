#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace ordwell {

// A prepared SQLite statement, finalized with the object.
class SqliteStatement final {
public:
    SqliteStatement() = default;
    ~SqliteStatement() { Finalize(); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool Prepare(sqlite3* db, const char* sql);
    void Finalize();
    sqlite3_stmt* Get() const { return m_statement; }

private:
    sqlite3_stmt* m_statement = nullptr;
};

// One execution of a prepared statement: binds its parameters, steps it and
// reads its columns; resets it and clears the bindings when it ends, whatever
// happened.
class StatementRun final {
public:
    explicit StatementRun(const SqliteStatement& statement) : m_statement(statement.Get()) {}
    ~StatementRun();
    StatementRun(const StatementRun&) = delete;
    StatementRun& operator=(const StatementRun&) = delete;

    StatementRun& Int(int index, std::int64_t value);
    // Text and bytes are copied: they need not outlive the run.
    StatementRun& Text(int index, std::string_view text);
    StatementRun& Bytes(int index, std::string_view bytes);

    // SQLITE_ROW, SQLITE_DONE or SQLite's error code.
    int Step();
    std::int64_t IntColumn(int column) const;
    std::string BytesColumn(int column) const;

private:
    sqlite3_stmt* m_statement;
};

} // namespace ordwell
