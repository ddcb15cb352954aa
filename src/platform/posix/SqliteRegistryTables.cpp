#include "SqliteRegistryTables.h"

#include <algorithm>
#include <sqlite3.h>

namespace ordwell {

namespace {

// As SQLite's NOCASE collation compares: ASCII letters folded, nothing else.
bool SameName(std::string_view a, std::string_view b) {
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

} // namespace

const char* const SqliteRegistryTables::kCreateSql = R"sql(
CREATE TABLE keys (
    id INTEGER PRIMARY KEY,
    hive INTEGER NOT NULL,
    parent INTEGER NOT NULL,
    name TEXT NOT NULL COLLATE NOCASE,
    UNIQUE (hive, parent, name)
);
CREATE TABLE key_values (
    key_id INTEGER NOT NULL REFERENCES keys (id),
    name TEXT NOT NULL COLLATE NOCASE,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY (key_id, name)
) WITHOUT ROWID;
)sql";

std::vector<std::string_view> KeyPathParts(std::string_view path) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            parts.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

bool SqliteRegistryTables::Prepare(sqlite3* db) {
    m_db = db;
    return m_findKey.Prepare(db, "SELECT id FROM keys WHERE hive = ?1 AND parent = ?2 AND name = ?3") &&
           m_insertKey.Prepare(db, "INSERT INTO keys (hive, parent, name) VALUES (?1, ?2, ?3)") &&
           m_setValue.Prepare(db,
                              "INSERT INTO key_values (key_id, name, type, data) VALUES (?1, ?2, ?3, ?4) "
                              "ON CONFLICT (key_id, name) DO UPDATE SET type = excluded.type, data = excluded.data") &&
           m_getValue.Prepare(db, "SELECT type, data FROM key_values WHERE key_id = ?1 AND name = ?2") &&
           m_deleteValue.Prepare(db, "DELETE FROM key_values WHERE key_id = ?1 AND name = ?2");
}

void SqliteRegistryTables::Finalize() {
    for (SqliteStatement* statement : {&m_findKey, &m_insertKey, &m_setValue, &m_getValue, &m_deleteValue}) {
        statement->Finalize();
    }
}

std::optional<std::int64_t> SqliteRegistryTables::FindKey(std::int64_t hive, std::string_view path, KeyTrail& trail) {
    return Walk(hive, path, false, trail);
}

std::optional<std::int64_t> SqliteRegistryTables::CreateKey(std::int64_t hive, std::string_view path, KeyTrail& trail) {
    return Walk(hive, path, true, trail);
}

std::optional<std::int64_t> SqliteRegistryTables::Walk(std::int64_t hive, std::string_view path, bool create,
                                                       KeyTrail& trail) {
    // The root's name is empty; then one key per part of the path.
    std::vector<std::string_view> names{std::string_view()};
    const std::vector<std::string_view> parts = KeyPathParts(path);
    names.insert(names.end(), parts.begin(), parts.end());

    if (trail.hive != hive) {
        trail.hive = hive;
        trail.keys.clear();
    }
    size_t known = 0;
    while (known < trail.keys.size() && known < names.size() && SameName(trail.keys[known].first, names[known])) {
        ++known;
    }
    trail.keys.resize(known);

    for (size_t i = known; i < names.size(); ++i) {
        const std::int64_t parent = i == 0 ? 0 : trail.keys.back().second;
        std::optional<std::int64_t> id;
        {
            StatementRun find(m_findKey);
            const int found = find.Int(1, hive).Int(2, parent).Text(3, names[i]).Step();
            if (found == SQLITE_ROW) {
                id = find.IntColumn(0);
            } else if (found != SQLITE_DONE || !create) {
                return std::nullopt;
            }
        }
        if (!id) {
            StatementRun insert(m_insertKey);
            if (insert.Int(1, hive).Int(2, parent).Text(3, names[i]).Step() != SQLITE_DONE) {
                return std::nullopt;
            }
            id = sqlite3_last_insert_rowid(m_db);
        }
        trail.keys.emplace_back(std::string(names[i]), *id);
    }
    return trail.keys.back().second;
}

bool SqliteRegistryTables::SetValue(std::int64_t key, std::string_view name, std::int64_t type, std::string_view data) {
    StatementRun set(m_setValue);
    return set.Int(1, key).Text(2, name).Int(3, type).Bytes(4, data).Step() == SQLITE_DONE;
}

std::optional<SqliteRegistryTables::StoredValue> SqliteRegistryTables::GetValue(std::int64_t key,
                                                                                std::string_view name) {
    StatementRun get(m_getValue);
    if (get.Int(1, key).Text(2, name).Step() != SQLITE_ROW) {
        return std::nullopt;
    }
    return StoredValue{get.IntColumn(0), get.BytesColumn(1)};
}

bool SqliteRegistryTables::DeleteValue(std::int64_t key, std::string_view name) {
    StatementRun remove(m_deleteValue);
    return remove.Int(1, key).Text(2, name).Step() == SQLITE_DONE && sqlite3_changes(m_db) > 0;
}

} // namespace ordwell
