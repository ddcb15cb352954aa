#include "PosixFileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "UniqueFd.h"

namespace ordwell {

bool WriteFully(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

namespace {

bool LockExclusive(int fd) {
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

// The rest of the descriptor's content.
std::optional<std::string> ReadFully(int fd) {
    std::string content;
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (n == 0) {
            return content;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
}

} // namespace

bool PosixFileSystem::Append(const std::string& path, std::string_view bytes) {
    // O_APPEND puts every write at the end; the lock keeps a write that the
    // kernel splits from interleaving with another writer's.
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (!fd) {
        return false;
    }
    if (!LockExclusive(fd.get())) {
        return false;
    }
    const bool ok = WriteFully(fd.get(), bytes);
    return ok && fd.Close();
}

std::optional<std::string> PosixFileSystem::ReadAll(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) {
        return std::nullopt;
    }
    return ReadFully(fd.get());
}

bool PosixFileSystem::Exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

bool PosixFileSystem::WriteAtomically(const std::string& path, std::string_view bytes) {
    // Write a sibling, flush it to disk, then rename it over the file: a crash
    // leaves the old file or the new one. The file's mode is kept.
    struct stat old {};
    const bool existed = ::stat(path.c_str(), &old) == 0;
    std::string temp = path + ".XXXXXX";
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd) {
        return false;
    }
    const mode_t mode = existed ? (old.st_mode & 07777) : 0666 & ~[] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }();
    const bool ok = ::fchmod(fd.get(), mode) == 0 && WriteFully(fd.get(), bytes) && ::fsync(fd.get()) == 0 &&
                    fd.Close() && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
    }
    return ok;
}

bool PosixFileSystem::Update(const std::string& path, const Edit& edit) {
    // A linked file is edited where it lies, so the link stays a link.
    std::string target = path;
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    // The lock is held on the file itself. Writing replaces the file by a
    // rename, so a process that waited may get the lock of a file that is no
    // longer there; it then opens the new file and waits again.
    while (true) {
        bool created = false;
        int raw = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
        if (raw < 0 && errno == ENOENT) {
            raw = ::open(target.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (raw < 0 && errno == EEXIST) {
                continue;
            }
            created = raw >= 0;
        }
        UniqueFd fd(raw);
        if (!fd || !LockExclusive(fd.get())) {
            return false;
        }
        struct stat held {};
        struct stat current {};
        // Replacing goes by rename, which the file's own mode would not stop:
        // a file nobody may write (even root, who opens it anyway) stays as
        // it is.
        if (::fstat(fd.get(), &held) != 0 || (held.st_mode & 0222) == 0) {
            return false;
        }
        if (::stat(target.c_str(), &current) != 0 || current.st_ino != held.st_ino || current.st_dev != held.st_dev) {
            continue;
        }
        const auto content = ReadFully(fd.get());
        const auto changed = content ? edit(*content) : std::nullopt;
        if (changed) {
            return WriteAtomically(target, *changed);
        }
        if (created) {
            // Nothing to write: the file was never there.
            ::unlink(target.c_str());
        }
        return content.has_value();
    }
}

} // namespace ordwell
