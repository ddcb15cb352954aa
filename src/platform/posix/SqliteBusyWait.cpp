#include "SqliteBusyWait.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sqlite3.h>

namespace ordwell {

namespace {

using SteadyClock = std::chrono::steady_clock;

// The first retries come quickly, as a lock is mostly held for a
// millisecond or two; later ones every 20 ms, often enough that a waiter
// finds the lock free between the transactions of busy writers.
constexpr int kFirstStepMs = 1;
constexpr int kLongestStepMs = 20;

} // namespace

void SqliteBusyWait::Install(sqlite3* db) {
    sqlite3_busy_handler(db, &SqliteBusyWait::OnBusy, this);
}

int SqliteBusyWait::OnBusy(void* self, int count) {
    // SQLite counts the calls of one wait from 0.
    auto* wait = static_cast<SqliteBusyWait*>(self);
    if (count == 0) {
        wait->m_waitingSince = SteadyClock::now();
    }
    return wait->Pause(count, wait->m_waitingSince) ? 1 : 0;
}

bool SqliteBusyWait::Pause(int attempt, SteadyClock::time_point since) const {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(since + m_bound - SteadyClock::now()).count();
    if (left <= 0 || StopRequested(0)) {
        return false;
    }
    const int step = std::min(kFirstStepMs << std::min(attempt, 5), kLongestStepMs);
    return !StopRequested(static_cast<int>(std::min<std::int64_t>(step, left)));
}

bool SqliteBusyWait::StopRequested(int timeoutMs) const {
    pollfd watched{m_stopFd, POLLIN, 0};
    const int ready = ::poll(&watched, m_stopFd >= 0 ? 1 : 0, timeoutMs);
    if (ready < 0 && errno == EINTR) {
        // A signal ended the sleep early; the stop request may be why.
        return m_stopFd >= 0 && ::poll(&watched, 1, 0) > 0;
    }
    return ready > 0;
}

} // namespace ordwell
