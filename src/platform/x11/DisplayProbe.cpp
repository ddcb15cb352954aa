#include "DisplayProbe.h"

#include <X11/Xlib.h>

namespace ordwell {

bool CanOpenDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

} // namespace ordwell
