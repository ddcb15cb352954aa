#pragma once

#include "platform/EventPump.h"

namespace ordwell {

// The event source of a run on a terminal: the only event is a stop signal,
// announced on the wake descriptor of SignalStop. A wait sleeps in poll() on
// it for the remaining time.
class ConsoleEventPump final : public EventPump {
public:
    // `wakeFd` may be -1: waits then simply sleep out their time.
    explicit ConsoleEventPump(int wakeFd) : m_wakeFd(wakeFd) {}

    void DispatchPending() override;
    void WaitFor(std::uint32_t ms, const std::function<bool()>& stopRequested) override;

private:
    int m_wakeFd;
};

} // namespace ordwell
