#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/console/ConsoleEventPump.h"
#include "platform/posix/SqliteRegistry.h"

namespace ordwell {
namespace {

using namespace std::chrono_literals;

// A private folder for store files, removed with everything in it.
class StoreFolder {
public:
    StoreFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-registry-XXXXXX").string();
        m_dir = ::mkdtemp(pattern.data());
    }
    ~StoreFolder() {
        // Folders a test made read-only must open again to be removed.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_dir)) {
            if (entry.is_directory()) {
                ::chmod(entry.path().c_str(), 0700);
            }
        }
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    StoreFolder(const StoreFolder&) = delete;
    StoreFolder& operator=(const StoreFolder&) = delete;

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

private:
    std::filesystem::path m_dir;
};

RegistryValue Text(const std::string& text) {
    return {RegistryType::String, text};
}

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs SQL on the database file directly; false on any error.
bool RunSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    const bool ok =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK &&
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// The first result of a query, as text; empty when there is none.
std::string QuerySql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    std::string result;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_exec(
        db, sql.c_str(),
        [](void* into, int, char** values, char**) {
            *static_cast<std::string*>(into) = values[0] != nullptr ? values[0] : "";
            return 1;
        },
        &result, nullptr);
    sqlite3_close(db);
    return result;
}

// A store as the program's first layout wrote it: every key with its whole
// path (and every key above it, the root included), values by path. The SQL
// is that program's own.
class FirstLayoutStore {
public:
    explicit FirstLayoutStore(const std::string& path) {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        Exec("PRAGMA journal_mode=WAL");
        Exec("PRAGMA synchronous=FULL");
        Exec(R"sql(
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
)sql");
    }
    ~FirstLayoutStore() { sqlite3_close(m_db); }
    FirstLayoutStore(const FirstLayoutStore&) = delete;
    FirstLayoutStore& operator=(const FirstLayoutStore&) = delete;

    // `path` as that program stored it: single separators, none at the ends.
    void CreateKey(Hive hive, const std::string& path) {
        for (size_t end = 0;; end = path.find('\\', end + 1)) {
            Insert("INSERT OR IGNORE INTO registry_keys (hive, path) VALUES (?1, ?2)", hive, path.substr(0, end));
            if (end >= path.size()) {
                return;
            }
        }
    }
    void SetValue(Hive hive, const std::string& path, const std::string& name, const RegistryValue& value) {
        CreateKey(hive, path);
        Insert("INSERT INTO registry_values (hive, path, name, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
               "ON CONFLICT (hive, path, name) DO UPDATE SET type = excluded.type, data = excluded.data",
               hive, path, name, &value);
    }
    bool Ok() const { return m_ok; }

private:
    void Exec(const char* sql) { m_ok = m_ok && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
    void Insert(const char* sql, Hive hive, const std::string& path, const std::string& name = {},
                const RegistryValue* value = nullptr) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr);
        sqlite3_bind_int(statement, 1, static_cast<int>(hive));
        sqlite3_bind_text(statement, 2, path.data(), static_cast<int>(path.size()), SQLITE_TRANSIENT);
        if (value != nullptr) {
            sqlite3_bind_text(statement, 3, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(statement, 4, static_cast<sqlite3_int64>(value->type));
            sqlite3_bind_blob(statement, 5, value->data.data(), static_cast<int>(value->data.size()), SQLITE_TRANSIENT);
        }
        m_ok = m_ok && sqlite3_step(statement) == SQLITE_DONE;
        sqlite3_finalize(statement);
    }

    sqlite3* m_db = nullptr;
    bool m_ok = true;
};

// Forks `count` children that all wait on one pipe and run the body at the
// same moment, when the parent closes it; answers how many ended with 0.
int RunTogether(int count, const std::function<int(int child)>& body) {
    int gate[2] = {-1, -1};
    if (::pipe(gate) != 0) {
        return 0;
    }
    std::vector<pid_t> children;
    for (int child = 0; child < count; ++child) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(gate[1]);
            char byte = 0;
            ::_exit(::read(gate[0], &byte, 1) == 0 ? body(child) : 99);
        }
        children.push_back(pid);
    }
    ::close(gate[0]);
    ::close(gate[1]);
    int succeeded = 0;
    for (const pid_t pid : children) {
        int status = -1;
        if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            ++succeeded;
        }
    }
    return succeeded;
}

// Another process that holds the store's write lock until released.
class LockHolder {
public:
    explicit LockHolder(const std::string& path) {
        int ready[2] = {-1, -1};
        int release[2] = {-1, -1};
        if (::pipe(ready) != 0 || ::pipe(release) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            sqlite3* db = nullptr;
            char held = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
            const bool told = ::write(ready[1], &held, 1) == 1;
            // Holds the lock until the parent closes the pipe.
            char byte = 0;
            const bool released = ::read(release[0], &byte, 1) == 0;
            sqlite3_close(db);
            ::_exit(told && released ? 0 : 1);
        }
        ::close(ready[1]);
        ::close(release[0]);
        char held = 0;
        m_held = ::read(ready[0], &held, 1) == 1 && held != 0;
        ::close(ready[0]);
        m_release = release[1];
    }
    ~LockHolder() { Release(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool Held() const { return m_held; }
    void Release() {
        if (m_release >= 0) {
            ::close(m_release);
            m_release = -1;
            ::waitpid(m_pid, nullptr, 0);
        }
    }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_held = false;
};

TEST(SqliteRegistry, KeysAndValuesIgnoreCaseAndKeepTypes) {
    SqliteRegistry registry(":memory:");
    ASSERT_TRUE(registry.IsOpen());
    EXPECT_EQ(registry.Problem(), "");
    EXPECT_FALSE(registry.KeyExists(Hive::LocalMachine, "A\\B"));
    EXPECT_TRUE(
        registry.SetValue(Hive::LocalMachine, "A\\B\\C", "V", {RegistryType::Dword, std::string("\x05\0\0\0", 4)}));
    EXPECT_TRUE(registry.KeyExists(Hive::LocalMachine, "a\\b"));
    EXPECT_TRUE(registry.KeyExists(Hive::LocalMachine, "a\\\\b\\c\\"));
    EXPECT_FALSE(registry.KeyExists(Hive::LocalMachine, "a\\b\\c\\d"));
    EXPECT_FALSE(registry.KeyExists(Hive::LocalMachine, "a\\bc"));
    EXPECT_FALSE(registry.KeyExists(Hive::CurrentUser, "A\\B"));
    const auto value = registry.GetValue(Hive::LocalMachine, "\\a\\B\\c", "v");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, RegistryType::Dword);
    EXPECT_EQ(value->data, std::string("\x05\0\0\0", 4));
    EXPECT_TRUE(registry.DeleteValue(Hive::LocalMachine, "A\\B\\C", "V"));
    EXPECT_FALSE(registry.GetValue(Hive::LocalMachine, "A\\B\\C", "V"));
    EXPECT_FALSE(registry.DeleteValue(Hive::LocalMachine, "A\\B\\C", "V"));
    EXPECT_FALSE(registry.DeleteValue(Hive::LocalMachine, "No\\Such\\Key", "V"));
    EXPECT_TRUE(registry.KeyExists(Hive::LocalMachine, "a\\b\\c"));
    EXPECT_TRUE(registry.KeyExists(Hive::Users, ""));

    // Only ASCII letters fold: other bytes must match exactly.
    EXPECT_TRUE(registry.CreateKey(Hive::ClassesRoot, "\xC3\x84pfel\\.OW"));
    EXPECT_TRUE(registry.KeyExists(Hive::ClassesRoot, "\xC3\x84PFEL\\.ow"));
    EXPECT_FALSE(registry.KeyExists(Hive::ClassesRoot, "\xC3\xA4pfel"));

    // The root key holds values too; a second write replaces the first,
    // whatever the case of its name; empty and binary data stay whole.
    EXPECT_TRUE(registry.SetValue(Hive::CurrentUser, "", "AtRoot", Text("first")));
    EXPECT_TRUE(registry.SetValue(Hive::CurrentUser, "\\", "ATROOT", Text("second")));
    EXPECT_EQ(registry.GetValue(Hive::CurrentUser, "", "atroot")->data, "second");
    EXPECT_TRUE(registry.SetValue(Hive::CurrentUser, "K", "", Text("")));
    EXPECT_EQ(registry.GetValue(Hive::CurrentUser, "K", "")->data, "");
    EXPECT_TRUE(registry.SetValue(Hive::CurrentUser, "K", "bin", {RegistryType::Binary, std::string("a\0b", 3)}));
    EXPECT_EQ(registry.GetValue(Hive::CurrentUser, "k", "BIN")->data, std::string("a\0b", 3));
    EXPECT_FALSE(registry.GetValue(Hive::LocalMachine, "K", "bin"));
}

TEST(SqliteRegistry, ValuesSurviveReopening) {
    StoreFolder folder;
    const std::string path = folder.Path("registry.sqlite");
    {
        SqliteRegistry registry(path);
        EXPECT_EQ(registry.Problem(), "");
        EXPECT_TRUE(registry.SetValue(Hive::CurrentUser, "Software\\Test", "Name", Text(std::string(10000, 'v'))));
    }
    SqliteRegistry registry(path);
    const auto value = registry.GetValue(Hive::CurrentUser, "software\\test", "name");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, std::string(10000, 'v'));
    EXPECT_EQ(QuerySql(path, "PRAGMA journal_mode"), "wal");
}

TEST(SqliteRegistry, ADeepKeyPathTakesSpaceInProportionToItsLength) {
    StoreFolder folder;
    const std::string path = folder.Path("registry.sqlite");
    std::string deep = "k";
    for (int part = 1; part < 10000; ++part) {
        deep += "\\k";
    }
    {
        SqliteRegistry registry(path);
        ASSERT_TRUE(registry.SetValue(Hive::CurrentUser, deep, "v", Text("bottom")));
        EXPECT_EQ(registry.GetValue(Hive::CurrentUser, deep, "V")->data, "bottom");
        EXPECT_TRUE(registry.KeyExists(Hive::CurrentUser, deep.substr(0, 9999)));
        EXPECT_FALSE(registry.KeyExists(Hive::CurrentUser, deep + "\\k"));
    }
    // Each key kept with its whole path took over 100 MB here.
    EXPECT_LT(std::filesystem::file_size(path), 4U << 20);
}

TEST(SqliteRegistry, StoresThatCannotBeOpenedStayClosedAndSayWhy) {
    StoreFolder folder;
    std::filesystem::create_directories(folder.Path("locked"));
    ::chmod(folder.Path("locked").c_str(), 0555);
    std::ofstream(folder.Path("garbage.sqlite")) << std::string(5000, 'x');
    std::filesystem::create_directories(folder.Path("folder.sqlite"));
    {
        SqliteRegistry newer(folder.Path("newer.sqlite"));
        ASSERT_TRUE(newer.SetValue(Hive::CurrentUser, "A", "B", Text("C")));
    }
    ASSERT_TRUE(RunSql(folder.Path("newer.sqlite"), "PRAGMA user_version = 99"));
    struct Row {
        std::string path;
        std::string reason;
    };
    const std::vector<Row> rows = {
        {folder.Path("missing/registry.sqlite"), "No such file or directory"},
        {folder.Path("locked/registry.sqlite"), "Permission denied"},
        {folder.Path("garbage.sqlite"), "file is not a database"},
        {folder.Path("folder.sqlite"), "unable to open database file"},
        {folder.Path("newer.sqlite"), "written by a newer version"},
        {"", "no home folder"},
    };
    for (const Row& row : rows) {
        SqliteRegistry registry(row.path);
        EXPECT_FALSE(registry.IsOpen()) << row.path;
        const std::string problem = registry.Problem();
        EXPECT_NE(problem.find(row.path), std::string::npos) << problem;
        EXPECT_NE(problem.find(row.reason), std::string::npos) << problem;
        EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
        EXPECT_FALSE(registry.SetValue(Hive::CurrentUser, "A", "B", Text("x"))) << row.path;
        EXPECT_FALSE(registry.CreateKey(Hive::CurrentUser, "A")) << row.path;
        EXPECT_FALSE(registry.DeleteValue(Hive::CurrentUser, "A", "B")) << row.path;
        EXPECT_FALSE(registry.GetValue(Hive::CurrentUser, "A", "B")) << row.path;
        EXPECT_FALSE(registry.KeyExists(Hive::CurrentUser, "")) << row.path;
    }
    // Nothing was made, and what was there is as it was.
    EXPECT_FALSE(std::filesystem::exists(folder.Path("missing")));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path("locked")));
    EXPECT_EQ(ReadWhole(folder.Path("garbage.sqlite")), std::string(5000, 'x'));
    EXPECT_EQ(QuerySql(folder.Path("newer.sqlite"), "PRAGMA user_version"), "99");
}

TEST(SqliteRegistry, AStoreFileWithoutWritePermissionOnlyReads) {
    StoreFolder folder;
    const std::string path = folder.Path("registry.sqlite");
    {
        SqliteRegistry registry(path);
        ASSERT_TRUE(registry.SetValue(Hive::CurrentUser, "Software\\Kept", "Value", Text("as it was")));
    }
    // Read-only for every user, root included.
    ::chmod(path.c_str(), 0444);
    {
        SqliteRegistry registry(path);
        EXPECT_TRUE(registry.IsOpen());
        EXPECT_NE(registry.Problem().find(path + " is read-only"), std::string::npos) << registry.Problem();
        EXPECT_EQ(registry.GetValue(Hive::CurrentUser, "Software\\Kept", "Value")->data, "as it was");
        EXPECT_FALSE(registry.SetValue(Hive::CurrentUser, "Software\\Kept", "Value", Text("changed")));
        EXPECT_FALSE(registry.SetValue(Hive::CurrentUser, "Software\\New", "Value", Text("new")));
        EXPECT_FALSE(registry.CreateKey(Hive::CurrentUser, "Software\\Other"));
        EXPECT_FALSE(registry.DeleteValue(Hive::CurrentUser, "Software\\Kept", "Value"));
    }
    ::chmod(path.c_str(), 0600);
    SqliteRegistry registry(path);
    EXPECT_EQ(registry.GetValue(Hive::CurrentUser, "Software\\Kept", "Value")->data, "as it was");
    EXPECT_FALSE(registry.KeyExists(Hive::CurrentUser, "Software\\New"));
    EXPECT_FALSE(registry.KeyExists(Hive::CurrentUser, "Software\\Other"));
}

TEST(SqliteRegistry, AStoreOfTheFirstLayoutIsConvertedWhole) {
    StoreFolder folder;
    const std::string path = folder.Path("registry.sqlite");
    std::string deep = "Deep";
    for (int part = 0; part < 300; ++part) {
        deep += "\\p" + std::to_string(part);
    }
    struct Row {
        Hive hive;
        std::string path; // as the first layout stored it
        std::string name;
        RegistryValue value;
    };
    const std::vector<Row> rows = {
        {Hive::CurrentUser, "Software\\Halvane\\Ordwell\\Options", "Speed", Text("fast")},
        {Hive::CurrentUser, "Software\\MiXeD", "Name", Text("mixed")},
        {Hive::CurrentUser, "Software\\Acme", "Count", {RegistryType::Dword, std::string("\x05\0\0\0", 4)}},
        {Hive::CurrentUser, "Software\\Acme", "Bin", {RegistryType::Binary, std::string("a\0b", 3)}},
        {Hive::CurrentUser, "Software\\Acme", "Empty", Text("")},
        {Hive::CurrentUser, "", "AtRoot", Text("root value")},
        {Hive::LocalMachine, "Software\\Acme", "Count", Text("another hive")},
        {Hive::Users, deep, "deep", Text("bottom")},
    };
    {
        FirstLayoutStore old(path);
        for (const Row& row : rows) {
            old.SetValue(row.hive, row.path, row.name, row.value);
        }
        old.CreateKey(Hive::ClassesRoot, ".ow\\Shell\\Open");
        ASSERT_TRUE(old.Ok());
    }
    for (int opening = 0; opening < 2; ++opening) {
        SqliteRegistry registry(path);
        ASSERT_EQ(registry.Problem(), "");
        for (const Row& row : rows) {
            const auto value = registry.GetValue(row.hive, row.path, row.name);
            ASSERT_TRUE(value) << row.path << " " << row.name;
            EXPECT_EQ(value->type, row.value.type) << row.name;
            EXPECT_EQ(value->data, row.value.data) << row.name;
        }
        EXPECT_EQ(registry.GetValue(Hive::CurrentUser, "software\\mixed", "NAME")->data, "mixed");
        EXPECT_TRUE(registry.KeyExists(Hive::ClassesRoot, ".OW\\shell\\open"));
        EXPECT_FALSE(registry.KeyExists(Hive::CurrentUser, ".ow"));
        EXPECT_TRUE(registry.KeyExists(Hive::Users, deep.substr(0, deep.rfind('\\'))));
        EXPECT_FALSE(registry.GetValue(Hive::ClassesRoot, "Software\\Acme", "Count"));
        EXPECT_TRUE(registry.SetValue(Hive::CurrentUser, "Software\\Acme", "Written", Text(std::to_string(opening))));
    }
    EXPECT_EQ(QuerySql(path, "PRAGMA user_version"), "1");
    EXPECT_EQ(QuerySql(path, "SELECT count(*) FROM sqlite_master WHERE name LIKE 'registry_%'"), "0");
    SqliteRegistry registry(path);
    EXPECT_EQ(registry.GetValue(Hive::CurrentUser, "Software\\Acme", "Written")->data, "1");
}

// Programs that start at the same moment on a store that is not there yet,
// on an empty file (as an older program could leave), or on a store of the
// first layout, all use it, and each write of each one is kept.
TEST(ConcurrentSqliteRegistry, ProgramsStartingTogetherAllUseOneStore) {
    constexpr int kPrograms = 6;
    constexpr int kValues = 20;
    for (const char* start : {"none", "empty file", "first layout"}) {
        StoreFolder folder;
        const std::string path = folder.Path("registry.sqlite");
        const bool old = std::string(start) == "first layout";
        if (std::string(start) == "empty file") {
            std::ofstream(path).flush();
        } else if (old) {
            FirstLayoutStore store(path);
            store.SetValue(Hive::CurrentUser, "Software\\Old", "Kept", Text("from before"));
            ASSERT_TRUE(store.Ok());
        }
        EXPECT_EQ(RunTogether(kPrograms,
                              [&](int program) {
                                  SqliteRegistry registry(path);
                                  if (!registry.Problem().empty()) {
                                      return 1;
                                  }
                                  if (old && registry.GetValue(Hive::CurrentUser, "Software\\Old", "Kept")->data !=
                                                 "from before") {
                                      return 2;
                                  }
                                  for (int i = 0; i < kValues; ++i) {
                                      const std::string name = std::to_string(program) + "." + std::to_string(i);
                                      if (!registry.SetValue(Hive::CurrentUser, "Software\\Together", name,
                                                             Text("value " + name))) {
                                          return 3;
                                      }
                                  }
                                  return 0;
                              }),
                  kPrograms)
            << start;
        SqliteRegistry registry(path);
        for (int program = 0; program < kPrograms; ++program) {
            for (int i = 0; i < kValues; ++i) {
                const std::string name = std::to_string(program) + "." + std::to_string(i);
                const auto value = registry.GetValue(Hive::CurrentUser, "Software\\Together", name);
                ASSERT_TRUE(value) << start << " " << name;
                EXPECT_EQ(value->data, "value " + name);
            }
        }
        if (old) {
            EXPECT_EQ(registry.GetValue(Hive::CurrentUser, "Software\\Old", "Kept")->data, "from before");
        }
        // No store made under a temporary name is left behind.
        size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path(""))) {
            files += entry.path().filename().string().find(".new-") == std::string::npos ? 0 : 1;
        }
        EXPECT_EQ(files, 0U) << start;
    }
}

TEST(ConcurrentSqliteRegistry, AWriteWaitsForAnotherProgramsLockOnlyUntilTheBoundOrAStop) {
    StoreFolder folder;
    const std::string path = folder.Path("registry.sqlite");
    int stop[2] = {-1, -1};
    ASSERT_EQ(::pipe(stop), 0);
    SqliteRegistry bounded(path, -1, 200ms);
    // Without the stop request this one would wait for an hour, far beyond
    // the test's time limit.
    SqliteRegistry stoppable(path, stop[0], 1h);
    ASSERT_TRUE(bounded.SetValue(Hive::CurrentUser, "Software\\Held", "Before", Text("old")));
    {
        LockHolder lock(path);
        ASSERT_TRUE(lock.Held());
        EXPECT_FALSE(bounded.SetValue(Hive::CurrentUser, "Software\\Held", "During", Text("lost")));
        EXPECT_FALSE(bounded.CreateKey(Hive::CurrentUser, "Software\\Held\\Sub"));
        EXPECT_FALSE(bounded.DeleteValue(Hive::CurrentUser, "Software\\Held", "Before"));
        // Reading needs no lock.
        EXPECT_EQ(bounded.GetValue(Hive::CurrentUser, "Software\\Held", "Before")->data, "old");

        std::thread stopper([&] { EXPECT_EQ(::write(stop[1], "s", 1), 1); });
        EXPECT_FALSE(stoppable.SetValue(Hive::CurrentUser, "Software\\Held", "During", Text("lost")));
        stopper.join();
        EXPECT_FALSE(stoppable.SetValue(Hive::CurrentUser, "Software\\Held", "During", Text("lost")));
    }
    // Once the lock is free, writes go through, a stop request or not.
    EXPECT_TRUE(bounded.SetValue(Hive::CurrentUser, "Software\\Held", "After", Text("1")));
    EXPECT_TRUE(stoppable.SetValue(Hive::CurrentUser, "Software\\Held", "After", Text("2")));
    EXPECT_EQ(bounded.GetValue(Hive::CurrentUser, "Software\\Held", "After")->data, "2");
    EXPECT_FALSE(bounded.GetValue(Hive::CurrentUser, "Software\\Held", "During"));
    EXPECT_FALSE(bounded.KeyExists(Hive::CurrentUser, "Software\\Held\\Sub"));
    EXPECT_TRUE(bounded.GetValue(Hive::CurrentUser, "Software\\Held", "Before"));
    ::close(stop[0]);
    ::close(stop[1]);
}

// A value written through another connection (another program) is told to
// the watch from the event pump; once the watch is given up, nothing is.
TEST(SqliteRegistryChanges, AWriteOfAnotherConnectionIsToldWhileWatched) {
    StoreFolder folder;
    const std::string path = folder.Path("registry.db");
    SqliteRegistry watched(path);
    SqliteRegistry other(path);
    ConsoleEventPump pump(-1);
    int told = 0;
    std::shared_ptr<void> watch = watched.WatchChanges(pump, [&] { ++told; });
    ASSERT_NE(watch, nullptr);
    ASSERT_TRUE(other.SetValue(Hive::CurrentUser, "Software\\Halvane\\Ordwell\\Hotkeys", "Count", Text("1")));
    EXPECT_TRUE(pump.WaitFor(10'000, [&] { return told > 0; }));

    watch.reset();
    const int before = told;
    ASSERT_TRUE(other.SetValue(Hive::CurrentUser, "Software\\Halvane\\Ordwell\\Hotkeys", "Count", Text("2")));
    pump.DispatchPending();
    EXPECT_EQ(told, before);

    SqliteRegistry memory(":memory:");
    EXPECT_EQ(memory.WatchChanges(pump, [] {}), nullptr);
}

} // namespace
} // namespace ordwell
