#include "SimulatedEventPump.h"

#include <algorithm>
#include <vector>

namespace ordwell {

EventPump::EventId SimulatedEventPump::Watch(NativeHandle handle, Callback callback) {
    const EventId id = m_nextId++;
    m_watches.emplace(id, WatchEntry{handle, std::move(callback)});
    return id;
}

EventPump::EventId SimulatedEventPump::Schedule(std::uint64_t due, Callback callback) {
    const EventId id = m_nextId++;
    m_timers.emplace(std::make_pair(due, id), std::move(callback));
    return id;
}

EventPump::EventId SimulatedEventPump::After(std::uint32_t ms, Callback callback) {
    return Schedule(m_clock.MonotonicMs() + ms, std::move(callback));
}

void SimulatedEventPump::At(std::uint64_t monotonicMs, Callback action) {
    Schedule(monotonicMs, std::move(action));
}

void SimulatedEventPump::Cancel(EventId id) {
    if (m_watches.erase(id) > 0) {
        return;
    }
    std::erase_if(m_timers, [id](const auto& entry) { return entry.first.second == id; });
}

void SimulatedEventPump::SetReady(NativeHandle handle, bool ready) {
    if (ready) {
        m_ready.insert(handle);
    } else {
        m_ready.erase(handle);
    }
}

void SimulatedEventPump::DispatchPending() {
    ++m_dispatches;
    // Timers first, so that a handle a timer makes ready is seen at once.
    while (!m_timers.empty() && m_timers.begin()->first.first <= m_clock.MonotonicMs()) {
        Callback action = std::move(m_timers.begin()->second);
        m_timers.erase(m_timers.begin());
        action();
    }
    // Then each ready watch once; a callback may cancel others.
    std::vector<EventId> due;
    for (const auto& [id, watch] : m_watches) {
        if (m_ready.contains(watch.handle)) {
            due.push_back(id);
        }
    }
    for (const EventId id : due) {
        if (const auto found = m_watches.find(id); found != m_watches.end()) {
            const Callback callback = found->second.callback;
            callback();
        }
    }
}

bool SimulatedEventPump::WaitFor(std::uint32_t ms, const std::function<bool()>& done) {
    const std::uint64_t deadline = m_clock.MonotonicMs() + ms;
    while (true) {
        if (done()) {
            return true;
        }
        DispatchPending();
        if (done()) {
            return true;
        }
        const std::uint64_t now = m_clock.MonotonicMs();
        if (now >= deadline) {
            return false;
        }
        const std::uint64_t next =
            m_timers.empty() ? deadline : std::min(deadline, std::max(now, m_timers.begin()->first.first));
        m_clock.AdvanceMs(next - now);
    }
}

} // namespace ordwell
