#include "PosixClock.h"

#include <pthread.h>
#include <signal.h>
#include <time.h>

#include <chrono>

namespace ordwell {

PosixClock::~PosixClock() {
    StopIntervals();
}

std::int64_t PosixClock::Now() const {
    return static_cast<std::int64_t>(::time(nullptr));
}

std::uint64_t PosixClock::MonotonicMs() const {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000U + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000U;
}

void PosixClock::StartIntervals(std::uint64_t intervalMs) {
    StopIntervals();
    // The time before a start counts as an interval that passed.
    m_intervalPassed.store(true, std::memory_order_relaxed);
    m_stopping = false;
    m_intervals = std::thread([this, interval = std::chrono::milliseconds(intervalMs)] {
        // Ctrl+C and SIGTERM go to the thread that runs the macro, as they
        // would without this one.
        sigset_t all;
        ::sigfillset(&all);
        ::pthread_sigmask(SIG_BLOCK, &all, nullptr);
        std::unique_lock lock(m_mutex);
        while (!m_wake.wait_for(lock, interval, [this] { return m_stopping; })) {
            m_intervalPassed.store(true, std::memory_order_relaxed);
        }
    });
}

void PosixClock::StopIntervals() {
    if (!m_intervals.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_intervals.join();
    m_intervalPassed.store(false, std::memory_order_relaxed);
}

} // namespace ordwell
