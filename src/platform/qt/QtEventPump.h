#pragma once

#include "platform/EventPump.h"

namespace ordwell {

// The Qt event loop as the run's event source. A wait sleeps until an event
// or its deadline, dispatches what came and ends as soon as the run is asked
// to stop; SignalStop's wake descriptor is one of the events, so Ctrl+C wakes
// a sleeping wait at once. Needs a QCoreApplication.
class QtEventPump final : public EventPump {
public:
    // `wakeFd` may be -1.
    explicit QtEventPump(int wakeFd) : m_wakeFd(wakeFd) {}

    void DispatchPending() override;
    void WaitFor(std::uint32_t ms, const std::function<bool()>& stopRequested) override;

private:
    int m_wakeFd;
};

} // namespace ordwell
