#pragma once

#include <vector>

#include "platform/WindowSystem.h"

namespace ordwell {

// The order the Wayland window system lists its toplevels in, standing in
// for a stacking order, which the foreign toplevel protocol does not tell:
// the windows activated since the connection opened, the most recently
// activated first, then those never seen active, in the order the
// compositor announced them.
class ToplevelOrder final {
public:
    void Announced(WindowId window);
    void Activated(WindowId window);
    void Closed(WindowId window);
    // Topmost first.
    const std::vector<WindowId>& Windows() const { return m_windows; }

private:
    // Activation brings a window to the front and announcement adds it at
    // the back, so those seen active stay ahead of the others.
    std::vector<WindowId> m_windows;
};

} // namespace ordwell
