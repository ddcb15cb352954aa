#include "PrivateDisplay.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <stdlib.h>

namespace ordwell::test {

namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr auto kStartBound = std::chrono::seconds(30);

// Errors of the probe's requests (a window that is gone) are answers too.
int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

PrivateDisplay::PrivateDisplay(Manager manager) {
    std::string pattern = (std::filesystem::temp_directory_path() / "ordwell-display-XXXXXX").string();
    m_home = ::mkdtemp(pattern.data());
    m_ownsHome = true;
    Start(manager);
}

PrivateDisplay::PrivateDisplay(const std::filesystem::path& folder, bool windowManager) : m_home(folder.string()) {
    Start(windowManager ? Manager::Openbox : Manager::Absent);
}

void PrivateDisplay::Start(Manager manager) {
    XSetErrorHandler(IgnoreErrors);
    // Xvfb writes the display number it chose once it takes clients.
    ChildProcess::Options options;
    options.directory = m_home;
    options.environment = {"PATH=/usr/bin:/bin", "HOME=" + m_home};
    m_server = std::make_unique<ChildProcess>(
        "/usr/bin/Xvfb",
        std::vector<std::string>{"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, options);
    if (!m_server->WaitForOutput([](const std::string& out) { return out.find('\n') != std::string::npos; },
                                 kStartBound)) {
        m_problem = "Xvfb did not start: " + m_server->Errors();
        return;
    }
    m_name = ":" + m_server->Output().substr(0, m_server->Output().find('\n'));
    Display* probe = XOpenDisplay(m_name.c_str());
    if (probe == nullptr) {
        m_problem = "cannot open " + m_name;
        return;
    }
    m_probe = probe;
    if (manager == Manager::Openbox) {
        options.environment = Environment();
        m_manager =
            std::make_unique<ChildProcess>("/usr/bin/openbox", std::vector<std::string>{"--sm-disable"}, options);
        if (!WindowManagerManagesWindows()) {
            // What openbox said, and which step of its start-up was not seen.
            m_manager->Collect();
            std::ifstream stat("/proc/" + std::to_string(m_manager->Pid()) + "/stat");
            std::string state;
            std::getline(stat, state);
            const bool ended = state.empty() || state.find(") Z") != std::string::npos;
            m_problem = "openbox did not take the screen (" + m_problem + (ended ? "; it ended" : "; it runs") +
                        "): " + m_manager->Errors();
            m_probe = nullptr;
            XCloseDisplay(probe);
            return;
        }
    }
}

PrivateDisplay::~PrivateDisplay() {
    if (m_probe != nullptr) {
        XCloseDisplay(m_probe);
    }
    // Asked to end, so that the server removes its lock and socket.
    for (auto* process : {m_manager.get(), m_server.get()}) {
        if (process != nullptr) {
            process->Signal(SIGTERM);
            process->Wait(std::chrono::seconds(10));
        }
    }
    if (m_ownsHome) {
        std::error_code ignored;
        std::filesystem::remove_all(m_home, ignored);
    }
}

void PrivateDisplay::SignalServer(int number) {
    if (m_server) {
        m_server->Signal(number);
    }
}

std::vector<std::string> PrivateDisplay::Environment() const {
    return {"DISPLAY=" + m_name, "HOME=" + m_home, "PATH=/usr/bin:/bin", "XDG_CONFIG_HOME=" + m_home + "/config"};
}

std::vector<unsigned long> PrivateDisplay::Longs(Window window, const char* property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(m_probe, window, XInternAtom(m_probe, property, False), 0, 1024, False, AnyPropertyType,
                           &type, &format, &count, &after, &data) == Success &&
        data != nullptr) {
        if (format == 32) {
            const auto* longs = reinterpret_cast<const unsigned long*>(data);
            values.assign(longs, longs + count);
        }
        XFree(data);
    }
    return values;
}

bool PrivateDisplay::AwaitEvents(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline) {
    while (!done()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
        pollfd connection{ConnectionNumber(m_probe), POLLIN, 0};
        if (left <= 0 || ::poll(&connection, 1, static_cast<int>(left)) < 0) {
            return false;
        }
        while (XPending(m_probe) > 0) {
            XEvent event;
            XNextEvent(m_probe, &event);
        }
    }
    return true;
}

// openbox names its check window early in its start-up, gives it the focus
// just before its event loop runs, and still loses a map request that comes
// in its first moments: it is ready once it has taken on a window of the
// probe's, which is asked again when it was lost, each time after twice the
// wait before (on a busy machine openbox may take longer than the first
// wait to take on any window, and every window given up adds to its work).
bool PrivateDisplay::WindowManagerManagesWindows() {
    const SteadyClock::time_point deadline = SteadyClock::now() + kStartBound;
    const ::Window root = DefaultRootWindow(m_probe);
    XSelectInput(m_probe, root, PropertyChangeMask);
    const bool owned = AwaitEvents([&] { return WindowManagerOwnsTheScreen(); }, deadline);
    XSelectInput(m_probe, root, NoEventMask);
    if (!owned) {
        m_problem = "no check window";
        return false;
    }
    const ::Window check = Longs(root, "_NET_SUPPORTING_WM_CHECK").at(0);
    XSelectInput(m_probe, check, FocusChangeMask);
    const bool looping = AwaitEvents([&] { return FocusWindow() == check; }, deadline);
    XSelectInput(m_probe, check, NoEventMask);
    m_problem = looping ? "no window managed" : "the check window never had the focus";
    std::chrono::milliseconds patience(250);
    while (looping && SteadyClock::now() < deadline) {
        const ::Window window = XCreateSimpleWindow(m_probe, root, 0, 0, 10, 10, 0, 0, 0);
        XSelectInput(m_probe, window, PropertyChangeMask);
        XMapWindow(m_probe, window);
        const bool managed =
            AwaitEvents([&] { return WmState(window) >= 0; }, std::min(deadline, SteadyClock::now() + patience));
        patience *= 2;
        XDestroyWindow(m_probe, window);
        XSync(m_probe, True);
        if (managed) {
            m_problem.clear();
            return true;
        }
    }
    return false;
}

bool PrivateDisplay::WindowManagerOwnsTheScreen() {
    const std::vector<unsigned long> check = Longs(DefaultRootWindow(m_probe), "_NET_SUPPORTING_WM_CHECK");
    if (check.empty()) {
        return false;
    }
    const std::vector<unsigned long> self = Longs(check[0], "_NET_SUPPORTING_WM_CHECK");
    return !self.empty() && self[0] == check[0];
}

std::vector<int> PrivateDisplay::ScreenSize() {
    return {DisplayWidth(m_probe, DefaultScreen(m_probe)), DisplayHeight(m_probe, DefaultScreen(m_probe))};
}

PrivateDisplay::Window PrivateDisplay::FocusWindow() {
    ::Window focus = None;
    int revert = 0;
    XGetInputFocus(m_probe, &focus, &revert);
    return focus;
}

PrivateDisplay::Window PrivateDisplay::NetActiveWindow() {
    const std::vector<unsigned long> active = Longs(DefaultRootWindow(m_probe), "_NET_ACTIVE_WINDOW");
    return active.empty() ? None : active[0];
}

long PrivateDisplay::WmState(Window window) {
    const std::vector<unsigned long> state = Longs(window, "WM_STATE");
    return state.empty() ? -1 : static_cast<long>(state[0]);
}

bool PrivateDisplay::HasNetState(Window window, const char* state) {
    const Atom wanted = XInternAtom(m_probe, state, False);
    for (const unsigned long atom : Longs(window, "_NET_WM_STATE")) {
        if (atom == wanted) {
            return true;
        }
    }
    return false;
}

bool PrivateDisplay::Exists(Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(m_probe, window, &attributes) != 0;
}

bool PrivateDisplay::Viewable(Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(m_probe, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

std::vector<int> PrivateDisplay::Geometry(Window window) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(m_probe, window, &attributes) == 0) {
        return {};
    }
    return {attributes.x, attributes.y, attributes.width, attributes.height};
}

std::vector<int> PrivateDisplay::RootPosition(Window window) {
    int x = 0;
    int y = 0;
    ::Window child = None;
    XTranslateCoordinates(m_probe, window, DefaultRootWindow(m_probe), 0, 0, &x, &y, &child);
    return {x, y};
}

std::vector<int> PrivateDisplay::Pointer() {
    ::Window root = None;
    ::Window child = None;
    int x = 0;
    int y = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    XQueryPointer(m_probe, DefaultRootWindow(m_probe), &root, &child, &x, &y, &windowX, &windowY, &mask);
    return {x, y};
}

void PrivateDisplay::MovePointer(int x, int y) {
    XTestFakeMotionEvent(m_probe, DefaultScreen(m_probe), x, y, CurrentTime);
    XSync(m_probe, False);
}

std::vector<int> PrivateDisplay::KeysDown() {
    char bits[32] = {};
    XQueryKeymap(m_probe, bits);
    std::vector<int> down;
    for (int key = 0; key < 256; ++key) {
        if ((bits[key / 8] & (1 << (key % 8))) != 0) {
            down.push_back(key);
        }
    }
    return down;
}

unsigned PrivateDisplay::LockedModifiers() {
    XkbStateRec state{};
    XkbGetState(m_probe, XkbUseCoreKbd, &state);
    return state.locked_mods;
}

unsigned PrivateDisplay::Modifiers() {
    XkbStateRec state{};
    XkbGetState(m_probe, XkbUseCoreKbd, &state);
    return state.mods;
}

int PrivateDisplay::KeycodeOf(unsigned long keysym) {
    return XKeysymToKeycode(m_probe, keysym);
}

void PrivateDisplay::SendKey(int keycode, bool down) {
    XTestFakeKeyEvent(m_probe, static_cast<unsigned>(keycode), down ? True : False, CurrentTime);
    XSync(m_probe, False);
}

void PrivateDisplay::LockModifiers(unsigned mask, bool on) {
    XkbLockModifiers(m_probe, XkbUseCoreKbd, mask, on ? mask : 0);
    XSync(m_probe, False);
}

std::string PrivateDisplay::KeymapDump() {
    XkbDescPtr xkb = XkbGetMap(m_probe, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    std::string dump;
    if (xkb == nullptr) {
        return dump;
    }
    for (int key = xkb->min_key_code; key <= xkb->max_key_code; ++key) {
        dump += std::to_string(key) + ":";
        for (int group = 0; group < XkbKeyNumGroups(xkb, key); ++group) {
            dump += " [" + std::to_string(XkbKeyKeyTypeIndex(xkb, key, group)) + "]";
            for (int level = 0; level < XkbKeyGroupWidth(xkb, key, group); ++level) {
                dump += " " + std::to_string(XkbKeySymEntry(xkb, key, level, group));
            }
        }
        dump += "\n";
    }
    XkbFreeKeyboard(xkb, 0, True);
    return dump;
}

bool PrivateDisplay::SetLayout(const std::string& layout) {
    ChildProcess::Options options;
    options.directory = m_home;
    options.environment = Environment();
    ChildProcess setxkbmap("/usr/bin/setxkbmap", {"-display", m_name, layout}, options);
    return setxkbmap.Wait(std::chrono::seconds(30)) == 0;
}

} // namespace ordwell::test
