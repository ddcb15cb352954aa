#include "PosixReadableFile.h"

#include <cerrno>
#include <limits>
#include <unistd.h>

namespace ordwell {

std::optional<std::size_t> PosixReadableFile::ReadAt(std::uint64_t offset, char* buffer, std::size_t size) {
    if (!m_fd || offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
        return std::nullopt;
    }
    while (true) {
        const ssize_t n = ::pread(m_fd.get(), buffer, size, static_cast<off_t>(offset));
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            return std::nullopt;
        }
    }
}

} // namespace ordwell
