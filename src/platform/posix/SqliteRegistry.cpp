#include "SqliteRegistry.h"

#include <sqlite3.h>

namespace ordwell {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS registry_keys (
    hive INTEGER NOT NULL,
    path TEXT NOT NULL COLLATE NOCASE,
    PRIMARY KEY (hive, path)
) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS registry_values (
    hive INTEGER NOT NULL,
    path TEXT NOT NULL COLLATE NOCASE,
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY (hive, path, name)
) WITHOUT ROWID;
)sql";

// Resets a prepared statement when the scope ends, whatever happened.
class StatementScope {
public:
    explicit StatementScope(sqlite3_stmt* statement) : m_statement(statement) {}
    ~StatementScope() {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    StatementScope(const StatementScope&) = delete;
    StatementScope& operator=(const StatementScope&) = delete;

private:
    sqlite3_stmt* m_statement;
};

void BindText(sqlite3_stmt* statement, int index, std::string_view text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

} // namespace

std::string SqliteRegistry::NormalizePath(std::string_view path) {
    std::string out;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            if (!out.empty()) {
                out += '\\';
            }
            out.append(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return out;
}

SqliteRegistry::SqliteRegistry(const std::string& databasePath) : m_path(databasePath) {
    if (sqlite3_open_v2(databasePath.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        return;
    }
    sqlite3_busy_timeout(m_db, 30000);
    const bool ready =
        Exec("PRAGMA journal_mode=WAL") && Exec("PRAGMA synchronous=FULL") && Exec(kSchema) &&
        sqlite3_prepare_v2(m_db, "INSERT OR IGNORE INTO registry_keys (hive, path) VALUES (?1, ?2)", -1, &m_insertKey,
                           nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(m_db, "SELECT 1 FROM registry_keys WHERE hive = ?1 AND path = ?2", -1, &m_keyExists,
                           nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(m_db,
                           "INSERT INTO registry_values (hive, path, name, type, data) "
                           "VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT (hive, path, name) "
                           "DO UPDATE SET type = excluded.type, data = excluded.data",
                           -1, &m_setValue, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(m_db,
                           "SELECT type, data FROM registry_values "
                           "WHERE hive = ?1 AND path = ?2 AND name = ?3",
                           -1, &m_getValue, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(m_db, "DELETE FROM registry_values WHERE hive = ?1 AND path = ?2 AND name = ?3", -1,
                           &m_deleteValue, nullptr) == SQLITE_OK;
    if (!ready) {
        Close();
    }
}

SqliteRegistry::~SqliteRegistry() {
    Close();
}

std::string SqliteRegistry::Problem() const {
    return m_db != nullptr ? std::string() : "the registry store " + m_path + " cannot be opened";
}

void SqliteRegistry::Close() {
    for (sqlite3_stmt** statement : {&m_insertKey, &m_keyExists, &m_setValue, &m_getValue, &m_deleteValue}) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
    }
    sqlite3_close(m_db);
    m_db = nullptr;
}

bool SqliteRegistry::Exec(const char* sql) {
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SqliteRegistry::InsertKeyPath(Hive hive, const std::string& path) {
    // The key and every key above it, the root ("") included.
    size_t end = 0;
    while (true) {
        const std::string_view prefix = std::string_view(path).substr(0, end);
        StatementScope scope(m_insertKey);
        sqlite3_bind_int(m_insertKey, 1, static_cast<int>(hive));
        BindText(m_insertKey, 2, prefix);
        if (sqlite3_step(m_insertKey) != SQLITE_DONE) {
            return false;
        }
        if (end >= path.size()) {
            return true;
        }
        end = path.find('\\', end + 1);
        if (end == std::string::npos) {
            end = path.size();
        }
    }
}

bool SqliteRegistry::CreateKey(Hive hive, std::string_view path) {
    if (m_db == nullptr || !Exec("BEGIN IMMEDIATE")) {
        return false;
    }
    if (!InsertKeyPath(hive, NormalizePath(path))) {
        Exec("ROLLBACK");
        return false;
    }
    return Exec("COMMIT") || (Exec("ROLLBACK"), false);
}

bool SqliteRegistry::KeyExists(Hive hive, std::string_view path) {
    if (m_db == nullptr) {
        return false;
    }
    const std::string normalized = NormalizePath(path);
    if (normalized.empty()) {
        return true;
    }
    StatementScope scope(m_keyExists);
    sqlite3_bind_int(m_keyExists, 1, static_cast<int>(hive));
    BindText(m_keyExists, 2, normalized);
    return sqlite3_step(m_keyExists) == SQLITE_ROW;
}

bool SqliteRegistry::SetValue(Hive hive, std::string_view path, std::string_view name, const RegistryValue& value) {
    if (m_db == nullptr || !Exec("BEGIN IMMEDIATE")) {
        return false;
    }
    const std::string normalized = NormalizePath(path);
    bool ok = InsertKeyPath(hive, normalized);
    if (ok) {
        StatementScope scope(m_setValue);
        sqlite3_bind_int(m_setValue, 1, static_cast<int>(hive));
        BindText(m_setValue, 2, normalized);
        BindText(m_setValue, 3, name);
        sqlite3_bind_int64(m_setValue, 4, static_cast<sqlite3_int64>(value.type));
        sqlite3_bind_blob(m_setValue, 5, value.data.data(), static_cast<int>(value.data.size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(m_setValue) == SQLITE_DONE;
    }
    if (ok && Exec("COMMIT")) {
        return true;
    }
    Exec("ROLLBACK");
    return false;
}

std::optional<RegistryValue> SqliteRegistry::GetValue(Hive hive, std::string_view path, std::string_view name) {
    if (m_db == nullptr) {
        return std::nullopt;
    }
    StatementScope scope(m_getValue);
    sqlite3_bind_int(m_getValue, 1, static_cast<int>(hive));
    BindText(m_getValue, 2, NormalizePath(path));
    BindText(m_getValue, 3, name);
    if (sqlite3_step(m_getValue) != SQLITE_ROW) {
        return std::nullopt;
    }
    RegistryValue value;
    value.type = static_cast<RegistryType>(sqlite3_column_int64(m_getValue, 0));
    const void* data = sqlite3_column_blob(m_getValue, 1);
    const int size = sqlite3_column_bytes(m_getValue, 1);
    if (data != nullptr && size > 0) {
        value.data.assign(static_cast<const char*>(data), static_cast<size_t>(size));
    }
    return value;
}

bool SqliteRegistry::DeleteValue(Hive hive, std::string_view path, std::string_view name) {
    if (m_db == nullptr) {
        return false;
    }
    StatementScope scope(m_deleteValue);
    sqlite3_bind_int(m_deleteValue, 1, static_cast<int>(hive));
    BindText(m_deleteValue, 2, NormalizePath(path));
    BindText(m_deleteValue, 3, name);
    return sqlite3_step(m_deleteValue) == SQLITE_DONE && sqlite3_changes(m_db) > 0;
}

} // namespace ordwell
