#pragma once

#include <cstdint>

namespace ordwell {

// Wall-clock and monotonic time. Every date, time and log stamp of the system
// comes from here, so tests can fix "now".
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since 1 January 1970 UTC.
    virtual std::int64_t Now() const = 0;
    // Milliseconds from an arbitrary start; never goes backwards.
    virtual std::uint64_t MonotonicMs() const = 0;
    // The same clock as MonotonicMs, read more cheaply and up to a few
    // milliseconds behind it: for the checks made before every macro line.
    virtual std::uint64_t CoarseMonotonicMs() const = 0;
};

} // namespace ordwell
