#pragma once

#include <memory>
#include <string>

#include "Platform.h"

namespace ordwell {

// What a backend set uses for one part of the platform, and why.
struct BackendUse {
    std::string name;   // "x11", "wayland", "qt", "console", "none", ...
    std::string reason; // "DISPLAY=:1", "no display"; may be empty
};

// What a backend set uses, part by part.
struct BackendReport {
    BackendUse windows;
    BackendUse keyboard;
    BackendUse pointer;
    BackendUse boxes; // message and input boxes, clipboard, run icon, event pump
    BackendUse sound;
    BackendUse session;
    BackendUse dde;
    // Said once at a run's first window, key or click command when the
    // desktop is served less than fully (a Wayland session without the
    // protocols); empty when there is nothing to say.
    std::string notice;
};

// The backends of one process, chosen for the operating system and what its
// environment offers, and wired into a Platform. The choice is made in one
// place per operating system (on Linux: a Wayland compositor with the
// protocols, else an X server, else the console); every service the machine
// lacks is a null object.
class BackendSet final {
public:
    // `argc` and `argv` go to the toolkit, which keeps referring to them, so
    // they must outlive this object. `endOnBrokenDisplay` ends the program
    // when its connection to the display breaks (it must not return).
    BackendSet(int& argc, char** argv, void (*endOnBrokenDisplay)());
    ~BackendSet();
    BackendSet(const BackendSet&) = delete;
    BackendSet& operator=(const BackendSet&) = delete;

    // The backends this build has, by name ("x11 qt console").
    static std::string Built();

    const Platform& GetPlatform() const { return *m_platform; }
    // Loads the modules of the services that a run loads on first use, to
    // tell what they find.
    const BackendReport& Report() const;
    // Whether the toolkit runs on a display: boxes and the editor can show.
    bool OnDisplay() const { return m_onDisplay; }
    // Whether a window system serves the windows (connecting to the display
    // to tell, where that waits for the first use).
    bool HasWindows() const;
    // Readable once SIGINT or SIGTERM arrived.
    int StopFd() const;
    // Whether the display went away while the program ran (rather than
    // being hung up on after a stop request).
    bool DisplayLost() const;
    // Whether the program hung up on a display that did not answer after a
    // stop request: nothing of the display can be given back then.
    bool HungUpOnDisplay() const;

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    std::unique_ptr<Platform> m_platform;
    mutable BackendReport m_report;
    mutable bool m_servicesReported = false;
    bool m_onDisplay = false;
};

} // namespace ordwell
