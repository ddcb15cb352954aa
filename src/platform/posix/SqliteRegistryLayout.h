#pragma once

#include <optional>
#include <string>

struct sqlite3;

namespace ordwell {

// The layout of the registry store, numbered in the database header
// (PRAGMA user_version). 0: an empty store, or the first layout, which kept
// every key with its whole path in registry_keys (hive, path) and every value
// in registry_values (hive, path, name, type, data), so that a key path cost
// space in the square of its length. 1: the tables of SqliteRegistryTables.
constexpr int kRegistryLayoutVersion = 1;

enum class LayoutUpdate {
    Current,   // already in this layout: nothing changed
    Created,   // was empty: the tables are made
    Converted, // was in the first layout: every key and value moved over
    Newer,     // written by a later version of the program: left alone
    Failed,
};

struct LayoutUpdateResult {
    LayoutUpdate update = LayoutUpdate::Failed;
    std::string error; // SQLite's message when it failed
};

std::optional<int> ReadRegistryLayoutVersion(sqlite3* db);

// Brings the store to this layout in one immediate transaction, so a
// conversion happens whole or not at all. Programs doing it at the same time
// queue on the lock: the first converts, the others then find the layout
// current.
LayoutUpdateResult UpdateRegistryLayout(sqlite3* db);

} // namespace ordwell
