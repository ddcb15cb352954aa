#include "PosixFileCopy.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "PosixFileSystem.h"
#include "UniqueFd.h"

namespace ordwell {

namespace {

// Copies the rest of `in` to `out`, in the kernel where it can.
bool CopyContent(int in, int out) {
    bool kernelCopy = true;
    char buffer[65536];
    while (true) {
        if (kernelCopy) {
            const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
            if (n == 0) {
                return true;
            }
            if (n > 0) {
                continue;
            }
            if (errno == EINTR) {
                continue;
            }
            // Older kernels and some file systems cannot copy between these
            // two files; fall back to reading and writing.
            if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP && errno != EPERM) {
                return false;
            }
            kernelCopy = false;
        }
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) {
            return true;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (!WriteFully(out, std::string_view(buffer, static_cast<size_t>(n)))) {
            return false;
        }
    }
}

std::string TemporarySibling(const std::string& destination) {
    const size_t slash = destination.rfind('/');
    const std::string directory = slash == std::string::npos ? std::string() : destination.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? destination : destination.substr(slash + 1);
    return directory + "." + name + ".ordwell-XXXXXX";
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

bool CopyRegularFileWithoutOverwrite(const std::string& source, const std::string& destination) {
    UniqueFd in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!in) {
        return false;
    }
    struct stat info {};
    if (::fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    // Fail early on a destination that is already there; the final rename
    // checks again, atomically.
    struct stat existing {};
    if (::lstat(destination.c_str(), &existing) == 0) {
        return false;
    }
    std::string temp = TemporarySibling(destination);
    UniqueFd out(::mkostemp(temp.data(), O_CLOEXEC));
    if (!out) {
        return false;
    }
    const timespec times[2] = {info.st_atim, info.st_mtim};
    const bool written = CopyContent(in.get(), out.get()) && ::fchmod(out.get(), info.st_mode & 0777) == 0 &&
                         ::futimens(out.get(), times) == 0 && ::fsync(out.get()) == 0 && out.Close();
    if (!written || !RenameWithoutOverwrite(temp, destination)) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

} // namespace ordwell
