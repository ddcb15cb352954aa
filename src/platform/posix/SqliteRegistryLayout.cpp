#include "SqliteRegistryLayout.h"

#include <sqlite3.h>
#include <string>

#include "SqliteRegistryTables.h"
#include "SqliteStatement.h"

namespace ordwell {

namespace {

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::optional<bool> TableExists(sqlite3* db, const char* name) {
    SqliteStatement statement;
    if (!statement.Prepare(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1")) {
        return std::nullopt;
    }
    StatementRun run(statement);
    const int found = run.Text(1, name).Step();
    if (found != SQLITE_ROW && found != SQLITE_DONE) {
        return std::nullopt;
    }
    return found == SQLITE_ROW;
}

// Runs the query and hands each row to `row`; false when a step or a row failed.
template <typename Row> bool ForEachRow(sqlite3* db, const char* sql, Row row) {
    SqliteStatement statement;
    if (!statement.Prepare(db, sql)) {
        return false;
    }
    StatementRun run(statement);
    int step = SQLITE_ROW;
    while ((step = run.Step()) == SQLITE_ROW) {
        if (!row(run)) {
            return false;
        }
    }
    return step == SQLITE_DONE;
}

// Moves every key and value of the first layout into the new tables and drops
// the old ones. Rows come in the order of the old primary keys, so a key's
// ancestors come before it and consecutive paths mostly share their start:
// the trail then makes each row cost about one lookup.
bool ConvertFirstLayout(sqlite3* db) {
    const auto hasKeys = TableExists(db, "registry_keys");
    const auto hasValues = TableExists(db, "registry_values");
    if (!hasKeys || !hasValues) {
        return false;
    }
    SqliteRegistryTables tables;
    if (!tables.Prepare(db)) {
        return false;
    }
    KeyTrail trail;
    if (*hasKeys && !ForEachRow(db, "SELECT hive, path FROM registry_keys ORDER BY hive, path", [&](StatementRun& row) {
            return tables.CreateKey(row.IntColumn(0), row.BytesColumn(1), trail).has_value();
        })) {
        return false;
    }
    if (*hasValues && !ForEachRow(db, "SELECT hive, path, name, type, data FROM registry_values ORDER BY hive, path",
                                  [&](StatementRun& row) {
                                      const auto key = tables.CreateKey(row.IntColumn(0), row.BytesColumn(1), trail);
                                      return key && tables.SetValue(*key, row.BytesColumn(2), row.IntColumn(3),
                                                                    row.BytesColumn(4));
                                  })) {
        return false;
    }
    return Exec(db, "DROP TABLE IF EXISTS registry_keys; DROP TABLE IF EXISTS registry_values;");
}

LayoutUpdate UpdateInTransaction(sqlite3* db) {
    // Read again under the write lock: another program may have just
    // converted the store.
    const auto version = ReadRegistryLayoutVersion(db);
    if (!version) {
        return LayoutUpdate::Failed;
    }
    if (*version == kRegistryLayoutVersion) {
        return LayoutUpdate::Current;
    }
    if (*version > kRegistryLayoutVersion) {
        return LayoutUpdate::Newer;
    }
    const auto firstLayout = TableExists(db, "registry_keys");
    const auto firstValues = TableExists(db, "registry_values");
    if (!firstLayout || !firstValues || !Exec(db, SqliteRegistryTables::kCreateSql)) {
        return LayoutUpdate::Failed;
    }
    const bool convert = *firstLayout || *firstValues;
    if (convert && !ConvertFirstLayout(db)) {
        return LayoutUpdate::Failed;
    }
    const std::string setVersion = "PRAGMA user_version = " + std::to_string(kRegistryLayoutVersion);
    if (!Exec(db, setVersion.c_str())) {
        return LayoutUpdate::Failed;
    }
    return convert ? LayoutUpdate::Converted : LayoutUpdate::Created;
}

} // namespace

std::optional<int> ReadRegistryLayoutVersion(sqlite3* db) {
    SqliteStatement statement;
    if (!statement.Prepare(db, "PRAGMA user_version")) {
        return std::nullopt;
    }
    StatementRun run(statement);
    if (run.Step() != SQLITE_ROW) {
        return std::nullopt;
    }
    return static_cast<int>(run.IntColumn(0));
}

LayoutUpdateResult UpdateRegistryLayout(sqlite3* db) {
    if (!Exec(db, "BEGIN IMMEDIATE")) {
        return {LayoutUpdate::Failed, sqlite3_errmsg(db)};
    }
    LayoutUpdateResult result{UpdateInTransaction(db), {}};
    const bool changed = result.update == LayoutUpdate::Created || result.update == LayoutUpdate::Converted;
    if (changed && Exec(db, "COMMIT")) {
        return result;
    }
    if (changed || result.update == LayoutUpdate::Failed) {
        result = {LayoutUpdate::Failed, sqlite3_errmsg(db)};
    }
    if (sqlite3_get_autocommit(db) == 0) {
        Exec(db, "ROLLBACK");
    }
    return result;
}

} // namespace ordwell
