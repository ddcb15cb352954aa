#include "FileLock.h"

#include <algorithm>
#include <cerrno>
#include <sys/file.h>

namespace ordwell {

namespace {

constexpr std::chrono::nanoseconds kFirstStep = std::chrono::microseconds(200);
// Short enough that a writer waiting behind a busy one gets its turn soon
// after the other lets go.
constexpr std::chrono::nanoseconds kLongestStep = std::chrono::milliseconds(32);

} // namespace

LockWait LockExclusive(int fd, const StopDescriptor& stop, std::chrono::milliseconds bound) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + bound;
    std::chrono::nanoseconds step = kFirstStep;
    while (true) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return LockWait::Locked;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return LockWait::Failed;
        }
        const Clock::time_point now = Clock::now();
        if (now >= deadline) {
            return LockWait::TimedOut;
        }
        if (stop.SleepFor(std::min(step, std::chrono::nanoseconds(deadline - now)))) {
            return LockWait::Stopped;
        }
        step = std::min(step * 2, kLongestStep);
    }
}

} // namespace ordwell
