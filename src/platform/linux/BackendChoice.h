#pragma once

#include <string>

namespace ordwell {

// What a Wayland compositor named by WAYLAND_DISPLAY turned out to be.
enum class WaylandAnswer {
    NotNamed,       // WAYLAND_DISPLAY is not set
    Silent,         // nothing answers at the name
    NotBuilt,       // a compositor answers, and this build has no Wayland backend
    LacksProtocols, // a compositor answers without what the Wayland backend needs
    Offers,         // a compositor offers what the Wayland backend needs
};

// What the environment of a process offers for its desktop backends.
struct DesktopFindings {
    std::string waylandDisplay; // WAYLAND_DISPLAY; empty when not set
    WaylandAnswer wayland = WaylandAnswer::NotNamed;
    std::string waylandLacks; // LacksProtocols: what the compositor lacks, in words
    std::string x11Display;   // DISPLAY; empty when not set
    bool x11Built = false;    // this build has the X11 backend
    bool x11Answers = false;  // the X display was opened and answered
    bool qtBuilt = false;     // this build has the Qt backend
    std::string qtPlatform;   // QT_QPA_PLATFORM; empty when not set
};

// The backends a process runs with, as a pure function of what was found.
// The order: a Wayland compositor that offers the protocols, else an X server
// (XWayland included), else none; boxes, clipboard, run icon and the event
// pump from Qt when a display of either kind answers, else from the terminal.
struct BackendChoice {
    enum class Desktop { Wayland, X11, None };
    Desktop desktop = Desktop::None;
    // Why: "WAYLAND_DISPLAY=wayland-1", "DISPLAY=:1", "no display".
    std::string desktopReason;
    bool qt = false;
    // The platform Qt is to use where QT_QPA_PLATFORM does not name one: only
    // a kind of display that answered, so that Qt never aborts on another.
    // Empty: Qt picks.
    std::string qtPlatform;
    // Said once, at a run's first window, key or click command, when a
    // Wayland session is served less than fully: what the compositor lacks
    // and what is done instead. Empty when there is nothing to say.
    std::string notice;
};

BackendChoice ChooseBackends(const DesktopFindings& found);

} // namespace ordwell
