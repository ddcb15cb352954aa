#pragma once

#include <memory>
#include <string>

#include "platform/linux/DisplayServices.h"

typedef struct _XDisplay Display;

namespace ordwell {

class DisplayHangUp;
class EventPump;
class X11Connection;
class X11KeyGrabs;

// The X11 backend's services on one display: the connection that the window
// system, the keyboard and the pointer share, and the key grabs on a
// connection of their own. Made in one place for the desktop program and for
// the x11 module of the light executable.
class X11Desktop final : public DisplayServices {
public:
    // Takes over `display` (opened by OpenDisplayWithin; null when it did not
    // answer), watched by `pump`. `hangUp` (may be null) watches the display
    // for a stop request and ends after every service; `displayName` is the
    // name the display was opened by (DISPLAY). `endOnBreak` (may be null)
    // ends the program when the pump finds the connection broken. A display
    // that went away meanwhile leaves null services and says so in the report.
    X11Desktop(EventPump& pump, Display* display, std::unique_ptr<DisplayHangUp> hangUp, const std::string& displayName,
               void (*endOnBreak)());
    ~X11Desktop() override;
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    WindowSystem& Windows() override { return *m_windows; }
    // Opened on first use: reading the keyboard takes many round trips.
    ordwell::Keyboard& Keyboard() override;
    ordwell::Pointer& Pointer() override { return *m_pointer; }
    ordwell::KeyGrabs& KeyGrabs() override { return *m_keyGrabs; }
    void Describe(BackendReport& report) override;
    bool Broken() const override;
    bool HungUp() const override;

private:
    EventPump& m_pump;
    // Outlives every part that talks to the display.
    std::unique_ptr<DisplayHangUp> m_hangUp;
    std::unique_ptr<X11Connection> m_connection;
    std::unique_ptr<WindowSystem> m_windows;
    // Before the keyboard, which lifts the grabs around the keys it types,
    // and destroyed after it.
    std::unique_ptr<ordwell::KeyGrabs> m_keyGrabs;
    // Destroyed before the connection it types on: its end gives back what
    // it changed on the display.
    std::unique_ptr<ordwell::Keyboard> m_keyboard;
    std::unique_ptr<ordwell::Pointer> m_pointer;
    // The grabs the keyboard lifts around the keys it types; null without a
    // connection.
    X11KeyGrabs* m_lifted = nullptr;
    bool m_keyboardTried = false;
    BackendUse m_windowsUse;
    BackendUse m_keyboardUse;
    BackendUse m_pointerUse;
};

} // namespace ordwell
