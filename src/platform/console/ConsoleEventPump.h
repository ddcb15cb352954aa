#pragma once

#include <chrono>
#include <map>

#include "platform/EventPump.h"

namespace ordwell {

// The event loop of a run on a terminal, on poll(): it sleeps on the watched
// descriptors and the stop signal's wake descriptor until the next timer or
// the end of the wait.
class ConsoleEventPump final : public EventPump {
public:
    // `wakeFd` is SignalStop's wake descriptor, or -1. It is never drained:
    // it wakes a wait once, and is not watched after it fired.
    explicit ConsoleEventPump(int wakeFd) : m_wakeFd(wakeFd) {}

    EventId Watch(NativeHandle handle, Callback callback) override;
    EventId After(std::uint32_t ms, Callback callback) override;
    void Cancel(EventId id) override;
    void DispatchPending() override;
    bool WaitFor(std::uint32_t ms, const std::function<bool()>& done) override;

private:
    using Clock = std::chrono::steady_clock;

    // Sleeps in poll() for at most `timeout` (-1: no limit), then calls the
    // callbacks of the ready descriptors and of the timers that are due.
    void PollAndDispatch(int timeoutMs);

    int m_wakeFd;
    std::map<EventId, std::pair<int, Callback>> m_watches;
    std::map<std::pair<Clock::time_point, EventId>, Callback> m_timers;
    EventId m_nextId = 1;
};

} // namespace ordwell
