#pragma once

#include "platform/StopSignal.h"

namespace ordwell {

// A stop signal a test raises, as Ctrl+C would.
class SimulatedStopSignal final : public StopSignal {
public:
    bool Raised() const override { return m_raised; }
    void Raise() { m_raised = true; }

private:
    bool m_raised = false;
};

} // namespace ordwell
