// A program that shows one top-level window, for tests of what is done to a
// started program's window: `test_window TITLE [HELPER]`. The window carries
// its title and the program's process id (_NET_WM_PID), as toolkits set them.
// With HELPER, a window of that title is made too and never shown, as a
// toolkit keeps one for its own ends; it takes no close request. The program
// runs until it is killed or its display goes away.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (argc < 2 || argc > 3 || display == nullptr) {
        return 2;
    }
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 300, 200, 0, 0,
                                              WhitePixel(display, DefaultScreen(display)));
    XStoreName(display, window, argv[1]);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(argv[1]), static_cast<int>(std::strlen(argv[1])));
    const long pid = static_cast<long>(::getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    XTextProperty machine{};
    char* hostList[] = {host};
    if (XStringListToTextProperty(hostList, 1, &machine) != 0) {
        XSetWMClientMachine(display, window, &machine);
        XFree(machine.value);
    }
    if (argc == 3) {
        const Window helper = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
        XStoreName(display, helper, argv[2]);
    }
    XMapWindow(display, window);
    XFlush(display);
    for (XEvent event; XNextEvent(display, &event) == 0;) {
    }
    return 0;
}
