#pragma once

#include <chrono>

struct sqlite3;

namespace ordwell {

// How a connection waits for a lock that another program holds: it sleeps in
// short, growing steps on the stop descriptor (never spinning) and gives up at
// once when a stop was requested, or when the bound has passed since the wait
// began. SQLite then answers SQLITE_BUSY and the call fails.
class SqliteBusyWait final {
public:
    // `stopFd` becomes readable, and stays so, once a stop is requested; -1
    // for none.
    SqliteBusyWait(int stopFd, std::chrono::milliseconds bound) : m_stopFd(stopFd), m_bound(bound) {}

    // Makes this the busy handler of the connection; it must outlive it.
    void Install(sqlite3* db);

    // Sleeps before retry number `attempt` (0 for the first) of a wait that
    // began at `since`; false, at once, when the wait is to end instead.
    bool Pause(int attempt, std::chrono::steady_clock::time_point since) const;

private:
    static int OnBusy(void* self, int count);
    bool StopRequested(int timeoutMs) const;

    int m_stopFd;
    std::chrono::milliseconds m_bound;
    std::chrono::steady_clock::time_point m_waitingSince;
};

} // namespace ordwell
