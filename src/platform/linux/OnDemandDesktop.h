#pragma once

#include <memory>
#include <string>

#include "platform/BackendSet.h"

namespace ordwell {

class Diagnostics;
class DisplayServices;
class EventPump;
class KeyGrabs;
class Keyboard;
class Pointer;
class WindowSystem;

// The display backend of the light executable, loaded as a module when it is
// first needed: a Wayland compositor that offers the protocols (the wayland
// module, when WAYLAND_DISPLAY names a compositor that answers), else the X
// display named by DISPLAY (the x11 module), else none. Nothing of either is
// loaded before: a run that uses no window, key or click command never
// connects to the display.
//
// What a display served less than fully (a module that cannot be loaded, a
// compositor without the protocols) means for the commands is said once, as
// a notice, at the first window, key or click command.
//
// The stop key: a key grabbed before the module is loaded is grabbed once it
// is, by a window, key or click command, or by the pump after kLateGrabMs,
// so that a short run of a macro that uses no such command stays off the
// display and a longer one can still be stopped from the keyboard.
class OnDemandDesktop final {
public:
    static constexpr unsigned kLateGrabMs = 300;

    // `stopFd` is readable once a stop request came. `endOnBrokenDisplay`
    // (may be null) ends the program when its X connection breaks;
    // `hangingUp` (may be null) runs just before a stop request hangs up on an
    // X server that does not answer.
    OnDemandDesktop(Diagnostics& diagnostics, EventPump& pump, int stopFd, void (*endOnBrokenDisplay)(),
                    void (*hangingUp)() = nullptr);
    ~OnDemandDesktop();
    OnDemandDesktop(const OnDemandDesktop&) = delete;
    OnDemandDesktop& operator=(const OnDemandDesktop&) = delete;

    // Loads the module of the display chosen and connects, once; true when
    // connected. Before a toolkit connects to an X display, so that ours is
    // open first.
    bool Open();

    // The services, which call Open on first use.
    WindowSystem& Windows();
    ordwell::Keyboard& Keyboard();
    ordwell::Pointer& Pointer();
    ordwell::KeyGrabs& KeyGrabs();

    // Opens, and fills the windows, keyboard, pointer and notice of the report.
    void Describe(BackendReport& report);
    // Whether the connection to the display broke (went away, or hung up on).
    bool Broken() const;
    // Whether a stop request found the X display not answering and hung up.
    bool HungUp() const;

private:
    class WindowsProxy;
    class KeyboardProxy;
    class PointerProxy;
    class KeyGrabsProxy;

    // The services once opened (null objects where none), saying the notice
    // first when `notice`.
    DisplayServices& Services(bool notice);
    // Loads `module` and answers its entry point `symbol`, or null with the
    // problem kept.
    void* Entry(const std::string& module, const char* symbol);

    Diagnostics& m_diagnostics;
    EventPump& m_pump;
    int m_stopFd;
    void (*m_endOnBrokenDisplay)();
    void (*m_hangingUp)();
    bool m_tried = false;
    std::unique_ptr<DisplayServices> m_services;
    // What stands in where no display serves.
    std::unique_ptr<DisplayServices> m_none;
    BackendReport m_uses;
    std::string m_problem;
    bool m_noticeSaid = false;
    // After the services, and destroyed before them.
    std::unique_ptr<WindowsProxy> m_windows;
    std::unique_ptr<KeyboardProxy> m_keyboard;
    std::unique_ptr<PointerProxy> m_pointer;
    std::unique_ptr<KeyGrabsProxy> m_keyGrabs;
};

} // namespace ordwell
