#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Clock.h"

namespace ordwell {

// The system clocks. Intervals are counted by a thread that sleeps between
// them and exists only while they are started.
class PosixClock final : public Clock {
public:
    PosixClock() = default;
    ~PosixClock() override;
    PosixClock(const PosixClock&) = delete;
    PosixClock& operator=(const PosixClock&) = delete;

    std::int64_t Now() const override;
    std::uint64_t MonotonicMs() const override;
    void StartIntervals(std::uint64_t intervalMs) override;
    void StopIntervals() override;

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_intervals;
};

} // namespace ordwell
