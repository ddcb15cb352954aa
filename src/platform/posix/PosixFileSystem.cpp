#include "PosixFileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "PosixFileCopy.h"
#include "PosixReadableFile.h"
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

FileRead PosixFileSystem::ReadRegularFile(const std::string& path, std::size_t limit, std::string& content) {
    content.clear();
    // O_NONBLOCK: opening a FIFO without a writer must not wait for one.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) {
        return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Unreadable;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return FileRead::Unreadable;
    }
    if (!S_ISREG(info.st_mode)) {
        return FileRead::NotRegular;
    }
    if (static_cast<std::uint64_t>(info.st_size) > limit) {
        return FileRead::TooLarge;
    }
    // The size is only a hint: the file may grow while it is read.
    content.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            content.clear();
            return FileRead::Unreadable;
        }
        if (n == 0) {
            return FileRead::Ok;
        }
        if (content.size() + static_cast<size_t>(n) > limit) {
            content.clear();
            return FileRead::TooLarge;
        }
        content.append(buffer, static_cast<size_t>(n));
    }
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

namespace ordwell {

namespace {

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

// The last component of a pattern as fnmatch reads it: "*" and "?" keep their
// meaning, "[" stands for itself, and "*.*" means every name.
std::string FnmatchPattern(std::string_view component) {
    if (component == "*.*") {
        return "*";
    }
    std::string out;
    for (const char c : component) {
        if (c == '[' || c == ']' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

std::string CurrentDirectory() {
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return error ? std::string() : current.string();
}

} // namespace

bool PosixFileSystem::AnyEntryMatches(const std::string& pattern) {
    const size_t slash = pattern.rfind('/');
    const std::string_view last =
        slash == std::string::npos ? std::string_view(pattern) : std::string_view(pattern).substr(slash + 1);
    if (!HasWildcard(last)) {
        struct stat info {};
        return !pattern.empty() && ::lstat(pattern.c_str(), &info) == 0;
    }
    const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : pattern.substr(0, slash);
    const std::string wanted = FnmatchPattern(last);
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
        // Names with a leading dot match like any other: no entry is hidden.
        if (::fnmatch(wanted.c_str(), it->path().filename().c_str(), 0) == 0) {
            return true;
        }
    }
    return false;
}

std::optional<std::int64_t> PosixFileSystem::ModificationTime(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(info.st_mtim.tv_sec);
}

bool PosixFileSystem::CanOpenForWriting(const std::string& path) {
    // A file without any write permission counts as read-only even for a
    // user, such as root, whom the kernel would let write it.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || (info.st_mode & 0222) == 0) {
        return false;
    }
    // O_NONBLOCK keeps the open of a FIFO without reader from hanging.
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) {
        return false;
    }
    // Someone else holding a lock of either kind counts as holding the file.
    // An open-file-description lock query sees record locks of every
    // process, this one included.
    struct flock query {};
    query.l_type = F_WRLCK;
    query.l_whence = SEEK_SET;
    query.l_start = 0;
    query.l_len = 0;
    if (::fcntl(fd.get(), F_OFD_GETLK, &query) == 0 && query.l_type != F_UNLCK) {
        return false;
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    return true;
}

bool PosixFileSystem::CopyWithoutOverwrite(const std::string& source, const std::string& destination) {
    return CopyRegularFileWithoutOverwrite(source, destination);
}

bool PosixFileSystem::MoveWithoutOverwrite(const std::string& source, const std::string& destination) {
    if (RenameWithoutOverwrite(source, destination)) {
        return true;
    }
    if (errno != EXDEV) {
        return false;
    }
    // Another file system: only a file can travel, as a copy whose source
    // is deleted afterwards.
    if (!CopyRegularFileWithoutOverwrite(source, destination)) {
        return false;
    }
    if (::unlink(source.c_str()) != 0) {
        ::unlink(destination.c_str());
        return false;
    }
    return true;
}

bool PosixFileSystem::RemoveFile(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && ::unlink(path.c_str()) == 0;
}

bool PosixFileSystem::MakeDirectory(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0;
}

bool PosixFileSystem::RemoveEmptyDirectory(const std::string& path) {
    return ::rmdir(path.c_str()) == 0;
}

bool PosixFileSystem::ChangeDirectory(const std::string& path) {
    return ::chdir(path.c_str()) == 0;
}

std::optional<std::string> PosixFileSystem::FindInDirectories(const std::string& name,
                                                              const std::vector<std::string>& directories) {
    if (name.empty()) {
        return std::nullopt;
    }
    const auto found = [](const std::string& candidate) -> std::optional<std::string> {
        struct stat info {};
        if (::stat(candidate.c_str(), &info) != 0) {
            return std::nullopt;
        }
        std::filesystem::path full(candidate);
        if (full.is_relative()) {
            full = std::filesystem::path(CurrentDirectory()) / full;
        }
        return full.lexically_normal().string();
    };
    if (name.front() == '/') {
        return found(name);
    }
    for (const std::string& directory : directories) {
        const std::string base = directory.empty() ? "." : directory;
        if (auto path = found(base.back() == '/' ? base + name : base + '/' + name)) {
            return path;
        }
    }
    return std::nullopt;
}

std::vector<std::string> PosixFileSystem::StandardSearchDirectories() {
    std::vector<std::string> directories{"."};
    const char* path = std::getenv("PATH");
    if (path == nullptr) {
        return directories;
    }
    std::string_view rest(path);
    while (true) {
        const size_t colon = rest.find(':');
        // An empty element of PATH names the current directory.
        const std::string_view element = rest.substr(0, colon);
        directories.emplace_back(element.empty() ? std::string_view(".") : element);
        if (colon == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(colon + 1);
    }
    return directories;
}

std::optional<std::uint64_t> PosixFileSystem::FileSize(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

std::unique_ptr<ReadableFile> PosixFileSystem::OpenForRead(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    return std::make_unique<PosixReadableFile>(std::move(fd));
}

} // namespace ordwell
