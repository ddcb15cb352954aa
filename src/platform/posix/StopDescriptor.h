#pragma once

#include <chrono>

namespace ordwell {

// A descriptor that becomes readable, and stays readable, once the user asked
// the program to stop (Ctrl+C, SIGTERM); -1 when nothing can ask. Waits of
// the file operations sleep on it, so a stop ends them at once.
class StopDescriptor final {
public:
    explicit StopDescriptor(int fd = -1) : m_fd(fd) {}

    bool Requested() const;
    // Sleeps for the time or until a stop is requested; true on a stop.
    bool SleepFor(std::chrono::nanoseconds time) const;

private:
    int m_fd;
};

} // namespace ordwell
