#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace ordwell {

// A clock that moves only when a test or a simulated wait moves it. The wall
// clock and the monotonic clock move together; intervals pass as it moves.
class SimulatedClock final : public Clock {
public:
    std::int64_t Now() const override { return m_epoch + static_cast<std::int64_t>(m_monotonicMs / 1000); }
    std::uint64_t MonotonicMs() const override { return m_monotonicMs; }

    // An interval that passed since the last one ended counts when they start
    // again.
    void StartIntervals(std::uint64_t intervalMs) override {
        m_intervalMs = intervalMs;
        AdvanceMs(0);
    }
    void StopIntervals() override {
        m_intervalMs = 0;
        m_intervalPassed.store(false, std::memory_order_relaxed);
    }

    // Time passing outside any wait.
    void AdvanceMs(std::uint64_t ms) {
        m_monotonicMs += ms;
        if (m_intervalMs != 0 && m_monotonicMs - m_intervalStartMs >= m_intervalMs) {
            m_intervalStartMs = m_monotonicMs - (m_monotonicMs - m_intervalStartMs) % m_intervalMs;
            m_intervalPassed.store(true, std::memory_order_relaxed);
        }
    }
    // Sets the wall clock; the monotonic clock stays.
    void SetNow(std::int64_t secondsSinceEpoch) {
        m_epoch = secondsSinceEpoch - static_cast<std::int64_t>(m_monotonicMs / 1000);
    }

private:
    std::int64_t m_epoch = 0;
    std::uint64_t m_monotonicMs = 0;
    std::uint64_t m_intervalMs = 0;      // 0 while stopped
    std::uint64_t m_intervalStartMs = 0; // the end of the last interval
};

} // namespace ordwell
