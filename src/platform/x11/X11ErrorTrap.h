#pragma once

typedef struct _XDisplay Display;

namespace ordwell {

// Catches the errors of the Xlib requests made while it lives, which Xlib
// would otherwise hand to a handler that ends the program. Failed() syncs
// with the server, so every request made so far has answered.
class X11ErrorTrap final {
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    bool Failed();

private:
    Display* m_display;
    void* m_previous;
};

} // namespace ordwell
