#pragma once

#include "platform/Pointer.h"

namespace ordwell {

class X11Connection;

// Clicks on an X display, on our own connection: button events sent to the
// deepest window under the point (see the source for which programs take
// them), without moving the pointer or activating the window.
class X11Pointer final : public Pointer {
public:
    explicit X11Pointer(X11Connection& connection) : m_connection(connection) {}

    bool Click(int x, int y, bool doubleClick) override;

private:
    X11Connection& m_connection;
};

} // namespace ordwell
