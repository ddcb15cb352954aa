#include "PosixClock.h"

#include <time.h>

namespace ordwell {

std::int64_t PosixClock::Now() const {
    return static_cast<std::int64_t>(::time(nullptr));
}

std::uint64_t PosixClock::MonotonicMs() const {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000U + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000U;
}

} // namespace ordwell
