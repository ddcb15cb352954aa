#include "SqliteStatement.h"

#include <sqlite3.h>

namespace ordwell {

bool SqliteStatement::Prepare(sqlite3* db, const char* sql) {
    Finalize();
    return sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) == SQLITE_OK;
}

void SqliteStatement::Finalize() {
    sqlite3_finalize(m_statement);
    m_statement = nullptr;
}

StatementRun::~StatementRun() {
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

StatementRun& StatementRun::Int(int index, std::int64_t value) {
    sqlite3_bind_int64(m_statement, index, value);
    return *this;
}

StatementRun& StatementRun::Text(int index, std::string_view text) {
    // An empty view may have no data pointer, which would bind NULL.
    sqlite3_bind_text64(m_statement, index, text.empty() ? "" : text.data(), text.size(), SQLITE_TRANSIENT,
                        SQLITE_UTF8);
    return *this;
}

StatementRun& StatementRun::Bytes(int index, std::string_view bytes) {
    if (bytes.empty()) {
        sqlite3_bind_zeroblob(m_statement, index, 0);
    } else {
        sqlite3_bind_blob64(m_statement, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    }
    return *this;
}

int StatementRun::Step() {
    return sqlite3_step(m_statement);
}

std::int64_t StatementRun::IntColumn(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

std::string StatementRun::BytesColumn(int column) const {
    const void* data = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    if (data == nullptr || size <= 0) {
        return {};
    }
    return std::string(static_cast<const char*>(data), static_cast<size_t>(size));
}

} // namespace ordwell
