#include "PosixFileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ContentReplace.h"
#include "LinkTarget.h"
#include "PosixFileCopy.h"
#include "PosixReadableFile.h"
#include "ReadOnlyFile.h"
#include "RegularFile.h"
#include "SearchPath.h"
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

// An update opens the file again each time another writer replaced it while
// this one waited for the lock, so every turn follows a write that another
// completed; the count only ends an update that others keep overtaking.
constexpr int kMaxUpdateTurns = 1000;
// The pause before looking again at a name that changed between two looks
// (created or made a link by someone else).
constexpr std::chrono::milliseconds kChangedNamePause{1};

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev;
}

// Writes the edited content of the file locked in `fd`: by a replacement
// where a new file can be all the old one was, else in place.
bool WriteEdited(int fd, const std::string& path, const struct stat& held, std::string_view old,
                 std::string_view bytes) {
    switch (ReplaceByNewFile(path, &held, bytes)) {
    case Replace::Done:
        return true;
    case Replace::CannotKeep:
        return RewriteInPlace(fd, old, bytes);
    case Replace::Failed:
        break;
    }
    return false;
}

} // namespace

bool PosixFileSystem::Append(const std::string& path, std::string_view bytes) {
    for (;;) {
        // O_APPEND puts every write at the end; the lock keeps a write that
        // the kernel splits from interleaving with another writer's.
        UniqueFd fd = OpenWithoutWaiting(path, O_WRONLY | O_APPEND);
        bool made = false;
        if (!fd && errno == ENOENT) {
            fd = OpenWithoutWaiting(path, O_WRONLY | O_APPEND | O_CREAT | O_EXCL, 0666);
            made = static_cast<bool>(fd);
            if (!fd && errno == EEXIST) {
                // Made by another writer meanwhile, or a link to a file
                // still missing, which is made where the link points.
                fd = OpenWithoutWaiting(path, O_WRONLY | O_APPEND | O_CREAT, 0666);
            }
        }
        struct stat info {};
        if (!fd || !StatRegular(fd.get(), info) || IsReadOnlyFile(info) ||
            LockExclusive(fd.get(), m_stop, m_lockWait) != LockWait::Locked) {
            return false;
        }
        // Under the lock the size is where this append begins.
        if (::fstat(fd.get(), &info) != 0) {
            return false;
        }
        if (info.st_nlink == 0) {
            continue; // an append that made the file and failed took it back while this one waited
        }
        if (!WriteFully(fd.get(), bytes)) {
            // A full disk or a size limit cut the append short: take back
            // what went out, so that no torn line is left for the next to run
            // on, and the file too when this append made it.
            struct stat named {};
            if (made && info.st_size == 0 && ::stat(path.c_str(), &named) == 0 && SameFile(named, info)) {
                ::unlink(path.c_str());
            } else {
                [[maybe_unused]] const int cut = ::ftruncate(fd.get(), info.st_size);
            }
            return false;
        }
        return fd.Close();
    }
}

FileRead PosixFileSystem::ReadRegularFile(const std::string& path, std::size_t limit, std::string& content) {
    content.clear();
    UniqueFd fd = OpenWithoutWaiting(path, O_RDONLY);
    if (!fd) {
        return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Unreadable;
    }
    struct stat info {};
    if (!StatRegular(fd.get(), info)) {
        return FileRead::NotRegular;
    }
    return ReadBounded(fd.get(), limit, content);
}

bool PosixFileSystem::WriteAtomically(const std::string& path, std::string_view bytes) {
    const auto target = FinalLinkTarget(path);
    if (!target) {
        return false;
    }
    struct stat old {};
    if (::lstat(target->c_str(), &old) != 0) {
        return errno == ENOENT && ReplaceByNewFile(*target, nullptr, bytes) == Replace::Done;
    }
    return S_ISREG(old.st_mode) && !IsReadOnlyFile(old) && ReplaceByNewFile(*target, &old, bytes) == Replace::Done;
}

bool PosixFileSystem::Update(const std::string& path, std::size_t limit, const Edit& edit) {
    // The lock is held on the file itself. Writing may replace the file by a
    // rename, so a process that waited may get the lock of a file that is no
    // longer there; it then opens the new file and waits again.
    for (int turn = 0; turn < kMaxUpdateTurns; ++turn) {
        if (turn > 0 && m_stop.Requested()) {
            return false;
        }
        // A link is written through, so it stays a link; one whose target is
        // missing gets its target created.
        const auto target = FinalLinkTarget(path);
        if (!target) {
            return false;
        }
        bool created = false;
        UniqueFd fd = OpenWithoutWaiting(*target, O_RDWR | O_NOFOLLOW);
        if (!fd && errno == ENOENT) {
            fd = OpenWithoutWaiting(*target, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
            created = static_cast<bool>(fd);
        }
        if (!fd) {
            // The name was created, or made a link, since it was looked at.
            if ((errno == EEXIST || errno == ELOOP) && !m_stop.SleepFor(kChangedNamePause)) {
                continue;
            }
            return false;
        }
        struct stat held {};
        if (!StatRegular(fd.get(), held) || IsReadOnlyFile(held) ||
            LockExclusive(fd.get(), m_stop, m_lockWait) != LockWait::Locked) {
            return false;
        }
        struct stat named {};
        if (::lstat(target->c_str(), &named) != 0 || !SameFile(named, held)) {
            continue;
        }
        // The file as it is now that it is held: links, owner and mode may
        // have changed while this process waited.
        if (::fstat(fd.get(), &held) != 0 || IsReadOnlyFile(held)) {
            return false;
        }
        std::string content;
        if (ReadBounded(fd.get(), limit, content) != FileRead::Ok) {
            return false;
        }
        const auto changed = edit(content);
        const bool written = !changed || WriteEdited(fd.get(), *target, held, content, *changed);
        if (created && (!changed || !written)) {
            // Nothing was written: the file was never there.
            ::unlink(target->c_str());
        }
        return written;
    }
    return false;
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
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || IsReadOnlyFile(info)) {
        return false;
    }
    UniqueFd fd = OpenWithoutWaiting(path, O_WRONLY);
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
    return CopyRegularFileWithoutOverwrite(source, destination, m_stop);
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
    if (!CopyRegularFileWithoutOverwrite(source, destination, m_stop)) {
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
    return ::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && !IsReadOnlyFile(info) &&
           ::unlink(path.c_str()) == 0;
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
    if (const char* path = std::getenv("PATH")) {
        const std::vector<std::string> listed = SplitSearchPath(path);
        directories.insert(directories.end(), listed.begin(), listed.end());
    }
    return directories;
}

std::optional<std::uint64_t> PosixFileSystem::FileSize(const std::string& path) {
    UniqueFd fd = OpenWithoutWaiting(path, O_RDONLY);
    struct stat info {};
    if (!fd || !StatRegular(fd.get(), info)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

std::unique_ptr<ReadableFile> PosixFileSystem::OpenForRead(const std::string& path) {
    UniqueFd fd = OpenWithoutWaiting(path, O_RDONLY);
    struct stat info {};
    if (!fd || !StatRegular(fd.get(), info)) {
        return nullptr;
    }
    return std::make_unique<PosixReadableFile>(std::move(fd));
}

} // namespace ordwell
