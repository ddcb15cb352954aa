#pragma once

#include "SimulatedWindowSystem.h"
#include "platform/Pointer.h"

namespace ordwell {

// Clicks on the simulated windows: recorded in the window system's
// transcript for the window under the point, in its coordinates.
class SimulatedPointer final : public Pointer {
public:
    explicit SimulatedPointer(SimulatedWindowSystem& windows) : m_windows(windows) {}
    bool Click(int x, int y, bool doubleClick) override { return m_windows.ClickAt(x, y, doubleClick); }

private:
    SimulatedWindowSystem& m_windows;
};

} // namespace ordwell
