#include "X11ErrorTrap.h"

#include <X11/Xlib.h>

namespace ordwell {

namespace {

// Xlib's handlers are one per process, called on the thread that reads the
// reply; the program makes its X requests on one thread only.
bool g_failed = false;

int NoteError(Display*, XErrorEvent*) {
    g_failed = true;
    return 0;
}

} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : m_display(display) {
    XSync(m_display, False);
    g_failed = false;
    m_previous = reinterpret_cast<void*>(XSetErrorHandler(NoteError));
}

X11ErrorTrap::~X11ErrorTrap() {
    XSync(m_display, False);
    XSetErrorHandler(reinterpret_cast<XErrorHandler>(m_previous));
}

bool X11ErrorTrap::Failed() {
    XSync(m_display, False);
    return g_failed;
}

} // namespace ordwell
