#include "SqliteRegistryFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include "SqliteRegistryLayout.h"
#include "UniqueFd.h"

namespace ordwell {

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Lays out the empty database file, then switches it to the log: the switch
// is written into its header, so every program that opens the store uses the
// log from the start. Closing the last connection removes the empty log.
std::string LayOut(const std::string& path) {
    sqlite3* db = nullptr;
    std::string error;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
    } else if (sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
    } else if (const LayoutUpdateResult result = UpdateRegistryLayout(db); result.update != LayoutUpdate::Created) {
        error = result.error.empty() ? "it could not be laid out" : result.error;
    } else if (sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
    }
    if (sqlite3_close(db) != SQLITE_OK && error.empty()) {
        error = sqlite3_errmsg(db);
    }
    return error;
}

// Gives the made store its name unless that name is taken; true when a store
// is there now, ours or another program's. `moved` tells whether the made
// store's temporary name went with it.
bool Publish(const std::string& made, const std::string& path, bool& moved) {
    moved = ::renameat2(AT_FDCWD, made.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0;
    if (moved || errno == EEXIST) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without an exclusive rename: a second hard link is as
    // exclusive, and the temporary name goes afterwards.
    return ::link(made.c_str(), path.c_str()) == 0 || errno == EEXIST;
}

} // namespace

std::string CreateRegistryFile(const std::string& path) {
    const std::string folder = FolderOf(path);
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0 && (info.st_mode & 0222) == 0) {
        return std::strerror(EACCES);
    }
    std::string made = path + ".new-XXXXXX";
    UniqueFd created(::mkostemp(made.data(), O_CLOEXEC));
    if (!created) {
        return std::strerror(errno);
    }
    created.Close();
    std::string error = LayOut(made);
    bool moved = false;
    if (error.empty() && !Publish(made, path, moved)) {
        error = std::strerror(errno);
    }
    if (!moved) {
        ::unlink(made.c_str());
    }
    if (error.empty()) {
        // The new name lasts through a crash.
        if (UniqueFd directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); directory) {
            ::fsync(directory.get());
        }
    }
    return error;
}

} // namespace ordwell
