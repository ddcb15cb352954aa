#pragma once

#include <functional>
#include <string>

namespace ordwell {

// The notification-area icon shown while a macro runs; a click on it asks
// that run to stop.
class RunIcon {
public:
    virtual ~RunIcon() = default;
    // Returns an id for Remove, or -1 when no icon could be shown (the run
    // goes on without one). `onClick` is called from event dispatching.
    virtual int Add(const std::string& tooltip, std::function<void()> onClick) = 0;
    virtual void Remove(int id) = 0;
};

} // namespace ordwell
