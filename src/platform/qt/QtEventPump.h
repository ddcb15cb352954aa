#pragma once

#include <map>
#include <memory>

#include "platform/EventPump.h"

class QObject;

namespace ordwell {

// The Qt event loop as the run's event source: watches are socket notifiers,
// timers are single-shot QTimers, and a wait sleeps in the event loop until
// an event or its deadline. SignalStop's wake descriptor is one of the
// events, so Ctrl+C wakes a sleeping wait at once. Needs a
// QCoreApplication.
class QtEventPump final : public EventPump {
public:
    // `wakeFd` may be -1.
    explicit QtEventPump(int wakeFd);
    ~QtEventPump() override;
    QtEventPump(const QtEventPump&) = delete;
    QtEventPump& operator=(const QtEventPump&) = delete;

    EventId Watch(NativeHandle handle, Callback callback) override;
    EventId After(std::uint32_t ms, Callback callback) override;
    void Cancel(EventId id) override;
    void DispatchPending() override;
    bool WaitFor(std::uint32_t ms, const std::function<bool()>& done) override;

private:
    // The notifier or timer of each watch and pending timer.
    std::map<EventId, std::unique_ptr<QObject>> m_sources;
    EventId m_nextId = 1;
};

} // namespace ordwell
