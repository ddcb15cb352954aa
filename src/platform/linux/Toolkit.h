#pragma once

#include <string>

namespace ordwell {

class Clipboard;
class Diagnostics;
class Dialogs;
class EventPump;
class RunIcon;
class WindowSystem;

// The toolkit's services for a run on a display, from the module that brings
// the toolkit (loaded when the first box, clipboard read or run icon needs
// it): boxes, clipboard, run icon, and the event loop the run goes on in once
// the toolkit is there.
class Toolkit {
public:
    virtual ~Toolkit() = default;
    virtual Dialogs& Boxes() = 0;
    virtual Clipboard& DesktopClipboard() = 0;
    virtual RunIcon& Icon() = 0;
    virtual EventPump& Pump() = 0;
    // The toolkit's name of the display kind it runs on ("xcb", "wayland").
    virtual std::string PlatformName() const = 0;
    // From now on the toolkit's warnings are dropped: the program is ending
    // on purpose in a way it would warn of. Safe to call from any thread.
    virtual void Silence() = 0;
};

// What the toolkit is started with.
struct ToolkitStart {
    // The program's arguments, which the toolkit keeps referring to.
    int argc = 0;
    char** argv = nullptr;
    // The toolkit's platform: "xcb", "wayland", or empty for its own choice.
    std::string platform;
    // Outlives the toolkit; the toolkit's messages go through it.
    Diagnostics* diagnostics = nullptr;
    // Brings the boxes to the front; outlives the toolkit.
    WindowSystem* windows = nullptr;
    // SignalStop's wake descriptor, or -1.
    int stopFd = -1;
};

} // namespace ordwell
