#include "PosixFileCopy.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "PosixFileSystem.h"
#include "RegularFile.h"
#include "TemporaryFile.h"
#include "UniqueFd.h"

namespace ordwell {

namespace {

// The copy looks for a stop request after each such piece: a fraction of a
// second of work even on a slow disk.
constexpr size_t kPiece = size_t{16} << 20;

// Copies the rest of `in` to `out`, in the kernel where it can.
bool CopyContent(int in, int out, const StopDescriptor& stop) {
    bool kernelCopy = true;
    size_t sinceLook = 0;
    char buffer[65536];
    while (true) {
        if (sinceLook >= kPiece) {
            if (stop.Requested()) {
                return false;
            }
            sinceLook = 0;
        }
        ssize_t n = 0;
        if (kernelCopy) {
            n = ::copy_file_range(in, nullptr, out, nullptr, kPiece, 0);
            // Older kernels and some file systems cannot copy between these
            // two files; fall back to reading and writing.
            if (n < 0 &&
                (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP || errno == EPERM)) {
                kernelCopy = false;
                continue;
            }
        } else {
            n = ::read(in, buffer, sizeof buffer);
            if (n > 0 && !WriteFully(out, std::string_view(buffer, static_cast<size_t>(n)))) {
                return false;
            }
        }
        if (n == 0) {
            return true;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        sinceLook += static_cast<size_t>(n);
    }
}

} // namespace

bool RenameWithoutOverwrite(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return false;
    }
    // The file system cannot rename without replacing. A hard link fails on
    // an existing name just as atomically; the old name is then dropped.
    struct stat info {};
    if (::lstat(from.c_str(), &info) != 0) {
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        if (::link(from.c_str(), to.c_str()) != 0) {
            return false;
        }
        if (::unlink(from.c_str()) != 0) {
            const int error = errno;
            ::unlink(to.c_str());
            errno = error;
            return false;
        }
        return true;
    }
    // A directory cannot be linked: check, then rename. Only a name created
    // in the moment between the two can be lost, and only on such file
    // systems.
    if (::lstat(to.c_str(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool CopyRegularFileWithoutOverwrite(const std::string& source, const std::string& destination,
                                     const StopDescriptor& stop) {
    UniqueFd in = OpenWithoutWaiting(source, O_RDONLY);
    struct stat info {};
    if (!in || !StatRegular(in.get(), info)) {
        return false;
    }
    // Fail early on a destination that is already there; the final rename
    // checks again, atomically.
    struct stat existing {};
    if (::lstat(destination.c_str(), &existing) == 0) {
        return false;
    }
    TemporaryFile temp(std::filesystem::path(destination).parent_path(), 0600);
    if (!temp) {
        return false;
    }
    // The temporary file stays open, and so locked, until it has its name:
    // see TemporaryFile.
    const timespec times[2] = {info.st_atim, info.st_mtim};
    if (!CopyContent(in.get(), temp.Fd(), stop) || ::fchmod(temp.Fd(), info.st_mode & 0777) != 0 ||
        ::futimens(temp.Fd(), times) != 0 || ::fsync(temp.Fd()) != 0 ||
        !RenameWithoutOverwrite(temp.Path(), destination)) {
        return false;
    }
    temp.Renamed();
    return true;
}

} // namespace ordwell
