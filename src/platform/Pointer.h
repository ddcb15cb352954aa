#pragma once

namespace ordwell {

// The pointer of the desktop, for clicks at points of the screen. Apart from
// the window system: on some desktops (Wayland) input and the list of
// windows are separate channels.
class Pointer {
public:
    virtual ~Pointer() = default;
    // A left-button click, or double click, at the screen point. False when
    // it cannot be delivered (no window there, no pointer to click with).
    virtual bool Click(int x, int y, bool doubleClick) = 0;
};

} // namespace ordwell
