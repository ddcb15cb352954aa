#pragma once

#include <cstdint>
#include <functional>

#include "NativeHandle.h"

namespace ordwell {

// The event loop of the user-interface thread. Every wait of the system
// sleeps here, on all watched handles and timers at once, dispatching what
// comes, and ends as soon as its condition holds: no wait ever spins.
//
// Callbacks run only from DispatchPending and WaitFor, on the calling
// thread. A callback may cancel any watch or timer, itself included, and may
// start new ones.
class EventPump {
public:
    using Callback = std::function<void()>;
    // Identifies a watch or a timer; never 0.
    using EventId = std::uint64_t;

    virtual ~EventPump() = default;

    // Calls `callback` whenever the handle is ready (a descriptor readable, a
    // process ended), until cancelled. The watch is level-triggered: the
    // callback must consume what made the handle ready, or cancel the watch.
    virtual EventId Watch(NativeHandle handle, Callback callback) = 0;
    // Calls `callback` once, `ms` milliseconds from now.
    virtual EventId After(std::uint32_t ms, Callback callback) = 0;
    // Ends a watch or a pending timer; an unknown or spent id is ignored.
    virtual void Cancel(EventId id) = 0;

    // Dispatches whatever is pending, without waiting.
    virtual void DispatchPending() = 0;
    // Sleeps at most `ms` milliseconds while dispatching events, and returns
    // as soon as `done` answers true (it is asked first, and after every
    // dispatch). True when `done` ended the wait, false when the time ran
    // out.
    virtual bool WaitFor(std::uint32_t ms, const std::function<bool()>& done) = 0;
};

} // namespace ordwell
