#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>

#include "SimulatedClock.h"
#include "platform/EventPump.h"

namespace ordwell {

// An event loop in simulated time. A wait moves the clock straight to the
// next timer or to its deadline, so a test of a long wait takes no real time.
// Handles are numbers the simulated services hand out (NewHandle); a service
// marks its handle ready, and watches on it are called while it stays ready.
class SimulatedEventPump final : public EventPump {
public:
    explicit SimulatedEventPump(SimulatedClock& clock) : m_clock(clock) {}

    EventId Watch(NativeHandle handle, Callback callback) override;
    EventId After(std::uint32_t ms, Callback callback) override;
    void Cancel(EventId id) override;
    void DispatchPending() override;
    bool WaitFor(std::uint32_t ms, const std::function<bool()>& done) override;

    // Runs the action when the monotonic clock reaches `monotonicMs`, as an
    // event from outside would arrive then.
    void At(std::uint64_t monotonicMs, Callback action);
    NativeHandle NewHandle() { return m_nextHandle++; }
    void SetReady(NativeHandle handle, bool ready);
    // How often events were dispatched.
    int Dispatches() const { return m_dispatches; }

private:
    EventId Schedule(std::uint64_t due, Callback callback);

    struct WatchEntry {
        NativeHandle handle;
        Callback callback;
    };
    SimulatedClock& m_clock;
    std::map<EventId, WatchEntry> m_watches;
    std::map<std::pair<std::uint64_t, EventId>, Callback> m_timers; // (due, id) in order
    std::set<NativeHandle> m_ready;
    EventId m_nextId = 1;
    NativeHandle m_nextHandle = 1000;
    int m_dispatches = 0;
};

} // namespace ordwell
