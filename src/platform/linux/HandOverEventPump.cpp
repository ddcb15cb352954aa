#include "HandOverEventPump.h"

#include <algorithm>
#include <climits>

namespace ordwell {

HandOverEventPump::HandOverEventPump(std::unique_ptr<EventPump> first)
    : m_first(std::move(first)), m_current(m_first.get()) {}

// The sources are left to their pumps, which end with or after this one.
HandOverEventPump::~HandOverEventPump() = default;

void HandOverEventPump::Enter(EventId id, Source& source) {
    if (!source.timer) {
        // Copied before the call: the callback may cancel its own watch.
        source.inner = m_current->Watch(source.handle, [callback = source.callback] { (*callback)(); });
        return;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(source.due - Clock::now()).count();
    source.inner = m_current->After(static_cast<std::uint32_t>(std::clamp<long long>(left, 0, UINT32_MAX)), [this, id] {
        const auto found = m_sources.find(id);
        if (found == m_sources.end()) {
            return;
        }
        const std::shared_ptr<Callback> callback = found->second.callback;
        m_sources.erase(found);
        (*callback)();
    });
}

void HandOverEventPump::HandOver(EventPump& next) {
    if (&next == m_current) {
        return;
    }
    EventPump& previous = *m_current;
    m_current = &next;
    ++m_handOvers;
    for (auto& [id, source] : m_sources) {
        previous.Cancel(source.inner);
        Enter(id, source);
    }
}

EventPump::EventId HandOverEventPump::Watch(NativeHandle handle, Callback callback) {
    const EventId id = m_nextId++;
    Source& source = m_sources[id];
    source.handle = handle;
    source.callback = std::make_shared<Callback>(std::move(callback));
    Enter(id, source);
    return id;
}

EventPump::EventId HandOverEventPump::After(std::uint32_t ms, Callback callback) {
    const EventId id = m_nextId++;
    Source& source = m_sources[id];
    source.timer = true;
    source.due = Clock::now() + std::chrono::milliseconds(ms);
    source.callback = std::make_shared<Callback>(std::move(callback));
    Enter(id, source);
    return id;
}

void HandOverEventPump::Cancel(EventId id) {
    const auto found = m_sources.find(id);
    if (found == m_sources.end()) {
        return;
    }
    m_current->Cancel(found->second.inner);
    m_sources.erase(found);
}

void HandOverEventPump::DispatchPending() {
    m_current->DispatchPending();
}

bool HandOverEventPump::WaitFor(std::uint32_t ms, const std::function<bool()>& done) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const unsigned handOvers = m_handOvers;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        EventPump& pump = *m_current;
        // Ends when the pump it sleeps in was handed over, to go on in the
        // next one.
        const bool ended = pump.WaitFor(static_cast<std::uint32_t>(std::clamp<long long>(left, 0, UINT32_MAX)),
                                        [&] { return done() || m_handOvers != handOvers; });
        if (m_handOvers == handOvers) {
            return ended;
        }
        if (done()) {
            return true;
        }
    }
}

} // namespace ordwell
