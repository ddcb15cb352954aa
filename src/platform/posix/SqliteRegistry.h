#pragma once

#include <chrono>
#include <string>

#include "SqliteBusyWait.h"
#include "SqliteRegistryTables.h"
#include "platform/Registry.h"

struct sqlite3;

namespace ordwell {

// The registry store in one SQLite database, in write-ahead-log mode. Every
// call is one transaction; a writer waits a bounded time for the lock another
// program holds, and answers false when the value could not be written. A
// store that cannot be opened stays closed and says why in Problem(); one
// whose file nobody may write (no write bit, whoever the user), or whose
// folder takes no new file for the log (read-only, or full), reads but does
// not write, and says so in Problem().
class SqliteRegistry final : public Registry {
public:
    // How long a call waits for a lock another program holds. Every call is
    // one short transaction: a program writing in a tight loop holds the lock
    // a few milliseconds at a time, and the longest calls take tens of
    // milliseconds (a key path of 10,000 parts) or about a second
    // (converting a 100 MB store of the first layout). A lock held for
    // longer belongs to something stuck (a stopped program, an open sqlite3
    // shell); ten seconds outlast any queue of working programs and still
    // tell a macro that its write failed in a time a user waits.
    static constexpr std::chrono::milliseconds kWaitBound{10000};

    // ":memory:" gives a private store that lives as long as the object.
    // `stopFd` becomes readable once a stop is requested and then ends any
    // wait for the lock at once (-1: none).
    explicit SqliteRegistry(const std::string& databasePath, int stopFd = -1,
                            std::chrono::milliseconds waitBound = kWaitBound);
    ~SqliteRegistry() override;
    SqliteRegistry(const SqliteRegistry&) = delete;
    SqliteRegistry& operator=(const SqliteRegistry&) = delete;

    // The database is open, perhaps only for reading.
    bool IsOpen() const { return m_db != nullptr; }

    bool CreateKey(Hive hive, std::string_view path) override;
    bool KeyExists(Hive hive, std::string_view path) override;
    bool SetValue(Hive hive, std::string_view path, std::string_view name, const RegistryValue& value) override;
    std::optional<RegistryValue> GetValue(Hive hive, std::string_view path, std::string_view name) override;
    bool DeleteValue(Hive hive, std::string_view path, std::string_view name) override;
    std::string Problem() const override { return m_problem; }
    // Through inotify on the database's folder: every transaction that
    // writes touches the database or its log. None for a store in memory.
    std::shared_ptr<void> WatchChanges(EventPump& pump, std::function<void()> changed) override;

private:
    // Empty once the store is ready; otherwise why it cannot be opened.
    std::string Open();
    // Opens the database named (a path or a URI) with the flags and readies
    // it; empty once it is ready, otherwise why not.
    std::string OpenAs(const std::string& name, int flags);
    // Opens a store that cannot be written for reading only.
    std::string OpenForReading();
    bool UseWriteAheadLog();
    void Close();
    bool Exec(const char* sql);
    std::string Failure(const std::string& reason) const;

    // Writes: an immediate transaction, which waits for the lock at its
    // start, so nothing inside it meets a busy store.
    bool BeginWrite();
    // False when the commit failed; the transaction is then rolled back.
    bool Commit();
    // Always false, for the failure it ends.
    bool Rollback();
    // Reads: a deferred transaction, so the whole key walk reads one
    // snapshot under one lock.
    bool BeginRead();
    void EndRead();

    std::string m_path;
    std::string m_problem;
    bool m_readOnly = false;
    std::string m_readOnlyReason; // why a store that opened read-only is so
    SqliteBusyWait m_wait;
    sqlite3* m_db = nullptr;
    SqliteRegistryTables m_tables;
};

} // namespace ordwell
