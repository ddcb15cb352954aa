#include "SqliteRegistry.h"

#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>

#include "FileChangeWatch.h"
#include "SqliteRegistryFile.h"
#include "SqliteRegistryLayout.h"

namespace ordwell {

namespace {

std::int64_t HiveNumber(Hive hive) {
    return static_cast<std::int64_t>(hive);
}

} // namespace

SqliteRegistry::SqliteRegistry(const std::string& databasePath, int stopFd, std::chrono::milliseconds waitBound)
    : m_path(databasePath), m_wait(stopFd, waitBound) {
    const std::string failure = Open();
    if (!failure.empty()) {
        Close();
        m_problem = failure + "; settings read their defaults and registry writes fail";
    } else if (m_readOnly) {
        m_problem = "the registry store " + m_path + " is read-only (" + m_readOnlyReason +
                    "): its values are read, and values written to it are not kept";
    }
}

SqliteRegistry::~SqliteRegistry() {
    Close();
}

std::shared_ptr<void> SqliteRegistry::WatchChanges(EventPump& pump, std::function<void()> changed) {
    if (m_path.empty() || m_path == ":memory:" || m_path.starts_with("file:")) {
        return nullptr;
    }
    return FileChangeWatch::Start(pump, m_path, std::move(changed));
}

std::string SqliteRegistry::Failure(const std::string& reason) const {
    return "the registry store " + m_path + " cannot be opened: " + reason;
}

std::string SqliteRegistry::Open() {
    if (m_path.empty()) {
        return "the registry store cannot be opened: no home folder is known";
    }
    const bool inMemory = m_path == ":memory:";
    int flags = SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_READWRITE;
    if (inMemory) {
        flags |= SQLITE_OPEN_CREATE;
    } else {
        struct stat info {};
        if (::stat(m_path.c_str(), &info) == 0) {
            // A file without any write permission is read-only even for a
            // user, such as root, whom the kernel would let write it.
            if ((info.st_mode & 0222) == 0) {
                flags = SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_READONLY;
                m_readOnlyReason = "its file has no write permission";
            }
        } else if (errno != ENOENT) {
            return Failure(std::strerror(errno));
        } else if (const std::string error = CreateRegistryFile(m_path); !error.empty()) {
            return "the registry store " + m_path + " cannot be created: " + error;
        }
    }
    if ((flags & SQLITE_OPEN_READONLY) != 0) {
        return OpenForReading();
    }
    const std::string failure = OpenAs(m_path, flags);
    if (failure.empty() || inMemory) {
        return failure;
    }
    // A store whose folder takes no new file (read-only, or full) cannot
    // keep its log: it cannot be written, but it can still be read. (A store
    // another program keeps locked is no such store.)
    const int error = m_db != nullptr ? sqlite3_errcode(m_db) & 0xFF : SQLITE_CANTOPEN;
    if (error != SQLITE_READONLY && error != SQLITE_CANTOPEN && error != SQLITE_IOERR && error != SQLITE_FULL) {
        return failure;
    }
    Close();
    if (OpenForReading().empty()) {
        m_readOnlyReason = "its folder is read-only or full";
        return {};
    }
    return failure;
}

std::string SqliteRegistry::OpenForReading() {
    constexpr int kReadOnly = SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_READONLY;
    if (OpenAs(m_path, kReadOnly).empty()) {
        return {}; // the log's files are there, or could be made
    }
    Close();
    // Without the log's shared-memory file SQLite reads the store only as
    // immutable, which sees nothing of a log: right when no log with content
    // is there, as after every program that used the store has closed it.
    // Nobody writes the store meanwhile, since no log can be made beside it.
    struct stat log {};
    if (::stat((m_path + "-wal").c_str(), &log) == 0 && log.st_size > 0) {
        return Failure("its log cannot be read");
    }
    std::string uri = "file:";
    for (const char c : m_path) {
        // The characters a URI path gives a meaning of their own.
        if (c == '%' || c == '?' || c == '#') {
            static constexpr char kHex[] = "0123456789abcdef";
            uri += '%';
            uri += kHex[static_cast<unsigned char>(c) >> 4];
            uri += kHex[c & 0xF];
        } else {
            uri += c;
        }
    }
    return OpenAs(uri + "?immutable=1", kReadOnly | SQLITE_OPEN_URI);
}

std::string SqliteRegistry::OpenAs(const std::string& name, int flags) {
    const bool inMemory = m_path == ":memory:";
    if (sqlite3_open_v2(name.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        return Failure(m_db != nullptr ? sqlite3_errmsg(m_db) : "out of memory");
    }
    m_wait.Install(m_db);
    // SQLite opens a file it may not write for reading only.
    m_readOnly = sqlite3_db_readonly(m_db, "main") == 1;
    const auto version = ReadRegistryLayoutVersion(m_db);
    if (!version) {
        return Failure(sqlite3_errmsg(m_db));
    }
    if (!m_readOnly && (!Exec("PRAGMA synchronous=FULL") || (!inMemory && !UseWriteAheadLog()))) {
        return Failure(sqlite3_errmsg(m_db));
    }
    if (*version > kRegistryLayoutVersion) {
        return Failure("it was written by a newer version of Ordwell");
    }
    if (*version < kRegistryLayoutVersion) {
        if (m_readOnly) {
            return Failure("it is read-only and in an older layout, which this version does not read");
        }
        const LayoutUpdateResult result = UpdateRegistryLayout(m_db);
        if (result.update == LayoutUpdate::Newer) {
            return Failure("it was written by a newer version of Ordwell");
        }
        if (result.update == LayoutUpdate::Failed) {
            return Failure(result.error);
        }
        if (result.update == LayoutUpdate::Converted) {
            // The old layout's pages are free now; give them back. Failing
            // here loses nothing.
            Exec("VACUUM");
        }
    }
    if (!m_tables.Prepare(m_db)) {
        return Failure(sqlite3_errmsg(m_db));
    }
    return {};
}

bool SqliteRegistry::UseWriteAheadLog() {
    // A store made by CreateRegistryFile is in the log already. One made
    // otherwise (an empty file, an older program's store) is switched here,
    // and SQLite answers SQLITE_BUSY at once, without the busy handler, while
    // another program switches or uses it: retry with the same bounded wait.
    const auto since = std::chrono::steady_clock::now();
    for (int attempt = 0;; ++attempt) {
        const int result = sqlite3_exec(m_db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        if (result != SQLITE_BUSY) {
            // A file system without shared memory keeps the rollback
            // journal, which is as safe, only slower.
            return result == SQLITE_OK;
        }
        if (!m_wait.Pause(attempt, since)) {
            return false;
        }
    }
}

void SqliteRegistry::Close() {
    m_tables.Finalize();
    if (m_db != nullptr) {
        // The stop descriptor may be gone before this object.
        sqlite3_busy_handler(m_db, nullptr, nullptr);
    }
    sqlite3_close(m_db);
    m_db = nullptr;
}

bool SqliteRegistry::Exec(const char* sql) {
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SqliteRegistry::BeginWrite() {
    return m_db != nullptr && !m_readOnly && Exec("BEGIN IMMEDIATE");
}

bool SqliteRegistry::Commit() {
    return Exec("COMMIT") || Rollback();
}

bool SqliteRegistry::BeginRead() {
    return m_db != nullptr && Exec("BEGIN");
}

void SqliteRegistry::EndRead() {
    if (!Exec("COMMIT")) {
        Rollback();
    }
}

bool SqliteRegistry::Rollback() {
    // SQLite has rolled back already after some errors.
    if (sqlite3_get_autocommit(m_db) == 0) {
        Exec("ROLLBACK");
    }
    return false;
}

bool SqliteRegistry::CreateKey(Hive hive, std::string_view path) {
    if (!BeginWrite()) {
        return false;
    }
    KeyTrail trail;
    return m_tables.CreateKey(HiveNumber(hive), path, trail) ? Commit() : Rollback();
}

bool SqliteRegistry::KeyExists(Hive hive, std::string_view path) {
    // A hive's root key is always there, though the store keeps it only
    // once something is written below it.
    if (m_db != nullptr && KeyPathParts(path).empty()) {
        return true;
    }
    if (!BeginRead()) {
        return false;
    }
    KeyTrail trail;
    const bool found = m_tables.FindKey(HiveNumber(hive), path, trail).has_value();
    EndRead();
    return found;
}

bool SqliteRegistry::SetValue(Hive hive, std::string_view path, std::string_view name, const RegistryValue& value) {
    if (!BeginWrite()) {
        return false;
    }
    KeyTrail trail;
    const auto key = m_tables.CreateKey(HiveNumber(hive), path, trail);
    return key && m_tables.SetValue(*key, name, static_cast<std::int64_t>(value.type), value.data) ? Commit()
                                                                                                   : Rollback();
}

std::optional<RegistryValue> SqliteRegistry::GetValue(Hive hive, std::string_view path, std::string_view name) {
    if (!BeginRead()) {
        return std::nullopt;
    }
    KeyTrail trail;
    const auto key = m_tables.FindKey(HiveNumber(hive), path, trail);
    auto stored = key ? m_tables.GetValue(*key, name) : std::nullopt;
    EndRead();
    if (!stored) {
        return std::nullopt;
    }
    return RegistryValue{static_cast<RegistryType>(stored->type), std::move(stored->data)};
}

bool SqliteRegistry::DeleteValue(Hive hive, std::string_view path, std::string_view name) {
    if (!BeginWrite()) {
        return false;
    }
    KeyTrail trail;
    const auto key = m_tables.FindKey(HiveNumber(hive), path, trail);
    return key && m_tables.DeleteValue(*key, name) ? Commit() : Rollback();
}

} // namespace ordwell
