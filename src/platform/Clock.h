#pragma once

#include <atomic>
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

    // While started, the clock raises IntervalPassed() each time `intervalMs`
    // has passed; the reader lowers it. Looking at it is one load, cheap
    // enough to do before every macro line. Stopped, the clock keeps no timer,
    // so an idle process is not woken.
    virtual void StartIntervals(std::uint64_t intervalMs) = 0;
    virtual void StopIntervals() = 0;
    std::atomic<bool>& IntervalPassed() { return m_intervalPassed; }

protected:
    std::atomic<bool> m_intervalPassed{false};
};

} // namespace ordwell
