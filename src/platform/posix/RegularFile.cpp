#include "RegularFile.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>

namespace ordwell {

UniqueFd OpenWithoutWaiting(const std::string& path, int flags, mode_t mode) {
    return UniqueFd(::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode));
}

bool StatRegular(int fd, struct stat& info) {
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

FileRead ReadBounded(int fd, std::size_t limit, std::string& content) {
    content.clear();
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return FileRead::Unreadable;
    }
    if (static_cast<std::uint64_t>(info.st_size) > limit) {
        return FileRead::TooLarge;
    }
    // The size is only a hint: the file may grow while it is read.
    content.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            // A regular file never blocks a read for long, so an interrupted
            // read is simply repeated.
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

} // namespace ordwell
