#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace ordwell {

// A clock that moves only when a test or a simulated wait moves it. The wall
// clock and the monotonic clock move together.
class SimulatedClock final : public Clock {
public:
    std::int64_t Now() const override { return m_epoch + static_cast<std::int64_t>(m_monotonicMs / 1000); }
    std::uint64_t MonotonicMs() const override { return m_monotonicMs; }
    std::uint64_t CoarseMonotonicMs() const override { return m_monotonicMs; }

    // Time passing outside any wait.
    void AdvanceMs(std::uint64_t ms) { m_monotonicMs += ms; }
    // Sets the wall clock; the monotonic clock stays.
    void SetNow(std::int64_t secondsSinceEpoch) {
        m_epoch = secondsSinceEpoch - static_cast<std::int64_t>(m_monotonicMs / 1000);
    }

private:
    std::int64_t m_epoch = 0;
    std::uint64_t m_monotonicMs = 0;
};

} // namespace ordwell
