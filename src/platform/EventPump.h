#pragma once

#include <cstdint>
#include <functional>

namespace ordwell {

// The event source of the user-interface thread. Waits sleep on it, never
// spin, and dispatch events (icon clicks, repaints, signals) as they come.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Dispatches whatever is pending, without waiting.
    virtual void DispatchPending() = 0;
    // Sleeps for at most `ms` milliseconds while dispatching events; returns
    // as soon as `stopRequested` answers true after a dispatch.
    virtual void WaitFor(std::uint32_t ms, const std::function<bool()>& stopRequested) = 0;
};

} // namespace ordwell
