#include "PosixClock.h"

#include <time.h>

namespace ordwell {

std::int64_t PosixClock::Now() const {
    return static_cast<std::int64_t>(::time(nullptr));
}

namespace {

std::uint64_t ReadMs(clockid_t clock) {
    timespec ts{};
    ::clock_gettime(clock, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000U + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000U;
}

} // namespace

std::uint64_t PosixClock::MonotonicMs() const {
    return ReadMs(CLOCK_MONOTONIC);
}

// The time of the last timer tick: no hardware counter is read, which makes
// it several times cheaper.
std::uint64_t PosixClock::CoarseMonotonicMs() const {
    return ReadMs(CLOCK_MONOTONIC_COARSE);
}

} // namespace ordwell
