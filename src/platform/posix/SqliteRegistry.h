#pragma once

#include <string>

#include "platform/Registry.h"

struct sqlite3;
struct sqlite3_stmt;

namespace ordwell {

// The registry store in one SQLite database. Every change is one immediate
// transaction, and waiting writers queue on the database lock, so processes
// sharing the file lose no value; SQLite's journal keeps it readable when a
// writer dies mid-write.
class SqliteRegistry final : public Registry {
public:
    // ":memory:" gives a private store that lives as long as the object.
    explicit SqliteRegistry(const std::string& databasePath);
    ~SqliteRegistry() override;
    SqliteRegistry(const SqliteRegistry&) = delete;
    SqliteRegistry& operator=(const SqliteRegistry&) = delete;

    bool IsOpen() const { return m_db != nullptr; }

    bool CreateKey(Hive hive, std::string_view path) override;
    bool KeyExists(Hive hive, std::string_view path) override;
    bool SetValue(Hive hive, std::string_view path, std::string_view name, const RegistryValue& value) override;
    std::optional<RegistryValue> GetValue(Hive hive, std::string_view path, std::string_view name) override;
    bool DeleteValue(Hive hive, std::string_view path, std::string_view name) override;
    std::string Problem() const override;

    // Key paths as stored: separators single, none at either end.
    static std::string NormalizePath(std::string_view path);

private:
    void Close();
    bool Exec(const char* sql);
    bool InsertKeyPath(Hive hive, const std::string& path);

    std::string m_path;
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insertKey = nullptr;
    sqlite3_stmt* m_keyExists = nullptr;
    sqlite3_stmt* m_setValue = nullptr;
    sqlite3_stmt* m_getValue = nullptr;
    sqlite3_stmt* m_deleteValue = nullptr;
};

} // namespace ordwell
