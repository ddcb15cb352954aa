#pragma once

#include "platform/BackendSet.h"

namespace ordwell {

class KeyGrabs;
class Keyboard;
class Pointer;
class WindowSystem;

// What a display backend (X11 or Wayland) serves once connected: the windows,
// the keys typed, the clicks and the keys grabbed, each a null object where
// the display lacks it, and what the backend report says of them. Made by
// the display modules and by the desktop program, which links the backends.
class DisplayServices {
public:
    virtual ~DisplayServices() = default;

    virtual WindowSystem& Windows() = 0;
    virtual ordwell::Keyboard& Keyboard() = 0;
    virtual ordwell::Pointer& Pointer() = 0;
    virtual ordwell::KeyGrabs& KeyGrabs() = 0;
    // Fills the windows, keyboard and pointer of the report (opening what
    // is opened on first use, to tell).
    virtual void Describe(BackendReport& report) = 0;
    // Whether the connection to the display broke (went away, or hung up on).
    virtual bool Broken() const { return false; }
    // Whether a stop request found the display not answering and hung up.
    virtual bool HungUp() const { return false; }
};

} // namespace ordwell
