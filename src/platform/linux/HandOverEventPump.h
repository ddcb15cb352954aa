#pragma once

#include <chrono>
#include <map>
#include <memory>

#include "platform/EventPump.h"

namespace ordwell {

// The event loop of a run that starts on the terminal's loop and may later
// need the toolkit's (a box, the run icon): it serves through the first pump
// it is given, and HandOver moves every live watch and pending timer to the
// next one. The ids stay those it gave, and a timer keeps the time it had
// left. A wait in progress goes on in the new pump, up to its own deadline.
class HandOverEventPump final : public EventPump {
public:
    explicit HandOverEventPump(std::unique_ptr<EventPump> first);
    ~HandOverEventPump() override;
    HandOverEventPump(const HandOverEventPump&) = delete;
    HandOverEventPump& operator=(const HandOverEventPump&) = delete;

    // From now on serves through `next`, which must outlive this pump's use
    // (the toolkit that owns it lives as long as the run). The pump served
    // through so far is kept to the end: the hand-over may come from inside
    // one of its callbacks.
    void HandOver(EventPump& next);

    EventId Watch(NativeHandle handle, Callback callback) override;
    EventId After(std::uint32_t ms, Callback callback) override;
    void Cancel(EventId id) override;
    void DispatchPending() override;
    bool WaitFor(std::uint32_t ms, const std::function<bool()>& done) override;

private:
    using Clock = std::chrono::steady_clock;
    struct Source {
        EventId inner = 0;
        bool timer = false;
        NativeHandle handle = -1; // a watch's
        Clock::time_point due;    // a timer's
        std::shared_ptr<Callback> callback;
    };

    // Registers `id`'s source with the current pump.
    void Enter(EventId id, Source& source);

    std::unique_ptr<EventPump> m_first;
    EventPump* m_current;
    // Counts the hand-overs, so that a wait sees one happen under it.
    unsigned m_handOvers = 0;
    std::map<EventId, Source> m_sources;
    EventId m_nextId = 1;
};

} // namespace ordwell
