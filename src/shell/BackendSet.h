#pragma once

#include <memory>

#include "platform/Platform.h"

namespace ordwell {

// The backends of one process, wired into a Platform: the POSIX clock, files,
// programs, system values and registry store, Ctrl+C and SIGTERM as the stop
// signal, logind for the session when the system bus can be reached, sound
// through PulseAudio when a sound server is there,
// and the desktop parts (boxes, clipboard, run icon, event pump) from Qt when
// a display can be opened, else from the terminal, with the window system and
// the keyboard of the X11 backend when there is a display, and DDE conversations over the
// session bus when there is one. Services this build cannot
// reach yet are null objects.
class BackendSet final {
public:
    // `argc` and `argv` go to the QApplication, which keeps referring to
    // them, so they must outlive this object.
    BackendSet(int& argc, char** argv);
    ~BackendSet();
    BackendSet(const BackendSet&) = delete;
    BackendSet& operator=(const BackendSet&) = delete;

    const Platform& GetPlatform() const { return *m_platform; }
    bool OnDisplay() const { return m_onDisplay; }
    // Readable once SIGINT or SIGTERM arrived.
    int StopFd() const;
    // Whether the X display went away while the program ran (rather than
    // being hung up on after a stop request).
    bool DisplayLost() const;
    // Whether the program hung up on an X display that did not answer after a
    // stop request: nothing of the display can be given back then.
    bool HungUpOnDisplay() const;
    // Ends the program whose connection to the X display broke: quietly with
    // the status of a stopped run when a stop request came (the connection
    // was hung up on, as the server did not answer), else with a word on it
    // and the status of a lost display.
    [[noreturn]] static void EndOnBrokenDisplay();

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    std::unique_ptr<Platform> m_platform;
    bool m_onDisplay = false;
};

} // namespace ordwell
