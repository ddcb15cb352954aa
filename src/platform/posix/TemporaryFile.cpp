#include "TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ordwell {

namespace {

constexpr std::string_view kPrefix = ".ordwell-";
constexpr std::string_view kSuffix = ".tmp";
constexpr size_t kRandomLetters = 6;
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// Names already taken are tried again with new letters; 62^6 names make a
// second clash all but impossible.
constexpr int kAttempts = 16;

std::string RandomName() {
    unsigned char bytes[kRandomLetters] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        return {};
    }
    std::string name(kPrefix);
    for (const unsigned char byte : bytes) {
        name += kLetters[byte % kLetters.size()];
    }
    name += kSuffix;
    return name;
}

std::filesystem::path OrCurrent(const std::filesystem::path& directory) {
    return directory.empty() ? std::filesystem::path(".") : directory;
}

} // namespace

TemporaryFile::TemporaryFile(const std::filesystem::path& directory, mode_t mode) {
    RemoveStaleTemporaries(directory);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string name = RandomName();
        if (name.empty()) {
            return;
        }
        std::string path = (OrCurrent(directory) / name).string();
        UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, mode));
        if (!fd) {
            if (errno == EEXIST) {
                continue;
            }
            return;
        }
        // Another writer sweeping the directory may have found the new file
        // before it was locked. If that writer holds it now, it is about to
        // remove it; if the file has no name any more, it did. Either way
        // this one is given up for a new one.
        struct stat info {};
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0 && ::fstat(fd.get(), &info) == 0 && info.st_nlink > 0) {
            m_fd = std::move(fd);
            m_path = std::move(path);
            return;
        }
    }
    errno = EEXIST;
}

TemporaryFile::~TemporaryFile() {
    if (m_fd && !m_path.empty()) {
        ::unlink(m_path.c_str());
    }
}

bool IsTemporaryName(std::string_view name) {
    if (name.size() != kPrefix.size() + kRandomLetters + kSuffix.size() || !name.starts_with(kPrefix) ||
        !name.ends_with(kSuffix)) {
        return false;
    }
    const std::string_view letters = name.substr(kPrefix.size(), kRandomLetters);
    return std::all_of(letters.begin(), letters.end(),
                       [](char c) { return kLetters.find(c) != std::string_view::npos; });
}

void RemoveStaleTemporaries(const std::filesystem::path& directory) {
    DIR* entries = ::opendir(OrCurrent(directory).c_str());
    if (entries == nullptr) {
        return;
    }
    const int directoryFd = ::dirfd(entries);
    while (const dirent* entry = ::readdir(entries)) {
        if (!IsTemporaryName(entry->d_name)) {
            continue;
        }
        // Only a file this process can open and lock is known to be stale.
        UniqueFd fd(::openat(directoryFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat held {};
        if (!fd || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode) ||
            ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        // Holding the lock, make sure the name still is that file.
        struct stat named {};
        if (::fstatat(directoryFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == held.st_ino &&
            named.st_dev == held.st_dev) {
            ::unlinkat(directoryFd, entry->d_name, 0);
        }
    }
    ::closedir(entries);
}

} // namespace ordwell
