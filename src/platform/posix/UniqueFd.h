#pragma once

#include <unistd.h>

namespace ordwell {

// Owns a file descriptor and closes it once.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { Close(); }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Close();
            m_fd = other.Release();
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    explicit operator bool() const { return m_fd >= 0; }
    int get() const { return m_fd; }
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    // Closes now; false when close reported an error (data may be lost).
    bool Close() {
        if (m_fd < 0) {
            return true;
        }
        const int fd = Release();
        return ::close(fd) == 0;
    }

private:
    int m_fd = -1;
};

} // namespace ordwell
