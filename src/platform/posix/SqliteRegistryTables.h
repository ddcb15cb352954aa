#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SqliteStatement.h"

struct sqlite3;

namespace ordwell {

// The keys found on the last path walked in one transaction, from the hive's
// root down, so that the next walk only looks up where its path differs.
// Valid for one transaction only: a rollback may undo the keys it names.
struct KeyTrail {
    std::int64_t hive = -1;
    std::vector<std::pair<std::string, std::int64_t>> keys; // name and id
};

// The two tables of the registry store. `keys` holds each key once: its hive,
// its parent's id (0 for a hive's root, whose name is empty) and its own name,
// so a key path costs space in proportion to its length. `key_values` holds
// the values by key id and name. Names are matched without regard to ASCII
// letter case.
class SqliteRegistryTables final {
public:
    // The statements that create both tables.
    static const char* const kCreateSql;

    // After the tables exist.
    bool Prepare(sqlite3* db);
    void Finalize();

    // The key's id; nothing when a key on the path is missing or on an error.
    std::optional<std::int64_t> FindKey(std::int64_t hive, std::string_view path, KeyTrail& trail);
    // The key's id, made with every missing key above it; nothing on an error.
    std::optional<std::int64_t> CreateKey(std::int64_t hive, std::string_view path, KeyTrail& trail);

    bool SetValue(std::int64_t key, std::string_view name, std::int64_t type, std::string_view data);
    struct StoredValue {
        std::int64_t type = 0;
        std::string data;
    };
    std::optional<StoredValue> GetValue(std::int64_t key, std::string_view name);
    // True when a value was there and is gone.
    bool DeleteValue(std::int64_t key, std::string_view name);

private:
    std::optional<std::int64_t> Walk(std::int64_t hive, std::string_view path, bool create, KeyTrail& trail);

    sqlite3* m_db = nullptr;
    SqliteStatement m_findKey;
    SqliteStatement m_insertKey;
    SqliteStatement m_setValue;
    SqliteStatement m_getValue;
    SqliteStatement m_deleteValue;
};

// The parts of a key path: backslashes separate them, and empty parts (from
// doubled separators or one at either end) do not count.
std::vector<std::string_view> KeyPathParts(std::string_view path);

} // namespace ordwell
