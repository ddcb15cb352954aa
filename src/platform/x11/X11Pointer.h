#pragma once

#include "platform/Pointer.h"

namespace ordwell {

class X11Connection;

// Clicks on an X display, on our own connection. Where the display has XTest
// the click takes the path of real input: the pointer goes to the point,
// clicks and comes back at once, and every program takes it, whatever
// toolkit it reads the pointer with. Without XTest the button events are
// sent to the deepest window under the point, which only programs that read
// core events take (see the source).
class X11Pointer final : public Pointer {
public:
    explicit X11Pointer(X11Connection& connection);

    bool Click(int x, int y, bool doubleClick) override;
    // Whether clicks go through XTest, as real input does.
    bool ThroughXTest() const { return m_xtest; }

private:
    bool ClickThroughXTest(int x, int y, int clicks);
    bool SendClickEvents(int x, int y, int clicks);

    X11Connection& m_connection;
    bool m_xtest = false;
};

} // namespace ordwell
