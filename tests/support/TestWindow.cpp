// A program that shows one top-level window, for tests of what is done to a
// started program's window: `test_window [--no-pid] TITLE [HELPER]`. The
// window carries its title and the program's process id (_NET_WM_PID), as
// toolkits set them; with --no-pid no process id, as Tk leaves it out. With
// HELPER, a window of that title is made too and never shown, as a toolkit
// keeps one for its own ends; it takes no close request. It writes nothing and
// lets go of the output it was given at once, and runs until it is killed or
// its display goes away.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

int main(int argc, char** argv) {
    const bool withPid = argc < 2 || std::string_view(argv[1]) != "--no-pid";
    Display* display = XOpenDisplay(nullptr);
    // The words after the options: the title, and the helper's title if any.
    const int first = withPid ? 1 : 2;
    const int words = argc - first;
    if (words < 1 || words > 2 || display == nullptr) {
        return 2;
    }
    const char* title = argv[first];
    // The output goes nowhere: whoever started the program sees the end of
    // its own output as it ends, however long this lives.
    const int nowhere = ::open("/dev/null", O_WRONLY);
    ::dup2(nowhere, 1);
    ::dup2(nowhere, 2);
    ::close(nowhere);
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 300, 200, 0, 0,
                                              WhitePixel(display, DefaultScreen(display)));
    XStoreName(display, window, title);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title), static_cast<int>(std::strlen(title)));
    if (withPid) {
        const long pid = static_cast<long>(::getpid());
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&pid), 1);
    }
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    XTextProperty machine{};
    char* hostList[] = {host};
    if (XStringListToTextProperty(hostList, 1, &machine) != 0) {
        XSetWMClientMachine(display, window, &machine);
        XFree(machine.value);
    }
    if (words == 2) {
        const Window helper = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
        XStoreName(display, helper, argv[first + 1]);
    }
    XMapWindow(display, window);
    XFlush(display);
    for (XEvent event; XNextEvent(display, &event) == 0;) {
    }
    return 0;
}
