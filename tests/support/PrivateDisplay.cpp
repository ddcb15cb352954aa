#include "PrivateDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <chrono>
#include <thread>

#include "blackbox/ChildProcess.h"

namespace ordwell::test {

namespace {

using namespace std::chrono_literals;

// Generous: only a hung server ever comes near it.
constexpr auto kBound = 30s;

// Whether a window manager has said it manages the screen (EWMH).
bool ManagerRuns(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                          &format, &count, &after, &data) == Success &&
                       count == 1;
    if (data != nullptr) {
        XFree(data);
    }
    return found;
}

} // namespace

PrivateDisplay::PrivateDisplay(const std::filesystem::path& folder, bool windowManager) {
    ChildProcess::Options options;
    options.directory = folder;
    options.environment = {"PATH=/usr/bin:/bin", "HOME=" + folder.string()};
    // Xvfb picks a free display and writes its number once it takes clients.
    m_server = std::make_unique<ChildProcess>(
        "/usr/bin/Xvfb", std::vector<std::string>{"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
        options);
    if (!m_server->WaitForOutput([](const std::string& out) { return out.find('\n') != std::string::npos; }, kBound)) {
        return;
    }
    m_name = ":" + m_server->Output().substr(0, m_server->Output().find('\n'));
    if (!windowManager) {
        m_ready = true;
        return;
    }
    options.environment.push_back("DISPLAY=" + m_name);
    // Openbox runs the --startup command once it manages the screen; a
    // window mapped before that may be missed.
    const std::filesystem::path ready = folder / "openbox-ready";
    m_windowManager = std::make_unique<ChildProcess>(
        "/usr/bin/openbox", std::vector<std::string>{"--startup", "touch " + ready.string()}, options);
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (!std::filesystem::exists(ready) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    Display* display = XOpenDisplay(m_name.c_str());
    m_ready = display != nullptr && std::filesystem::exists(ready) && ManagerRuns(display);
    if (display != nullptr) {
        XCloseDisplay(display);
    }
}

PrivateDisplay::~PrivateDisplay() = default;

} // namespace ordwell::test
