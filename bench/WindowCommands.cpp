// FindWindow and ActivateWindow among 200 windows of another program, on a
// private Xvfb with openbox, beside xdotool on the same windows:
//   - a lookup: one run of Repeat(FindWindow(...),N), per lookup, against one
//     `xdotool search --name` (a process each, as a macro tool would run it);
//   - an activation: ActivateWindow alternating between two windows, against
//     `xdotool windowactivate --sync`; and how long after the window
//     manager's change of _NET_ACTIVE_WINDOW the command returned, as a
//     second connection of the bench sees that change.
// Run through bench/window_commands.sh, which checks for xdotool.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <vector>

#include "support/PrivateDisplay.h"
#include "support/TestWindows.h"
#include "support/X11Machine.h"

// After our own headers: Xlib's macros (None, Status, ...) would clash.
#include <X11/Xlib.h>

namespace {

using Steady = std::chrono::steady_clock;
namespace test = ordwell::test;

double Ms(Steady::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Runs xdotool with the words and answers how long it took; negative when
// it failed.
double TimeXdotool(const test::PrivateDisplay& display, const std::vector<std::string>& words) {
    test::ChildProcess::Options options;
    options.directory = display.Home();
    options.environment = display.Environment();
    const Steady::time_point start = Steady::now();
    test::ChildProcess xdotool("/usr/bin/xdotool", words, options);
    const auto status = xdotool.Wait(std::chrono::seconds(30));
    return status == 0 ? Ms(Steady::now() - start) : -1;
}

// Records when _NET_ACTIVE_WINDOW changes, on a connection of its own.
class ActiveWindowWatch {
public:
    explicit ActiveWindowWatch(const std::string& name) : m_display(XOpenDisplay(name.c_str())) {
        m_atom = XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False);
        XSelectInput(m_display, DefaultRootWindow(m_display), PropertyChangeMask);
        XSync(m_display, False);
        m_thread = std::thread([this] { Run(); });
    }
    ~ActiveWindowWatch() {
        m_stop = true;
        m_thread.join();
        XCloseDisplay(m_display);
    }
    // The last change seen at or before `moment`.
    Steady::time_point LastChangeBefore(Steady::time_point moment) {
        std::lock_guard lock(m_mutex);
        Steady::time_point last{};
        for (const Steady::time_point change : m_changes) {
            if (change <= moment) {
                last = change;
            }
        }
        return last;
    }

private:
    void Run() {
        while (!m_stop) {
            pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
            ::poll(&connection, 1, 50);
            while (XPending(m_display) > 0) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (event.type == PropertyNotify && event.xproperty.atom == m_atom) {
                    std::lock_guard lock(m_mutex);
                    m_changes.push_back(Steady::now());
                }
            }
        }
    }

    Display* m_display;
    Atom m_atom;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Steady::time_point> m_changes;
    std::thread m_thread;
};

} // namespace

int main() {
    constexpr int kWindows = 200;
    constexpr int kLookups = 1000;
    constexpr int kProcesses = 20;
    constexpr int kActivations = 40;

    test::PrivateDisplay display(test::PrivateDisplay::Manager::Openbox);
    if (!display.Ready()) {
        std::fprintf(stderr, "%s\n", display.Problem().c_str());
        return 1;
    }
    test::TestWindows program(display);
    std::vector<unsigned long> ids;
    for (int n = 0; n < kWindows; ++n) {
        ids.push_back(program.Open("w" + std::to_string(n), "Bench window " + std::to_string(n)));
        if (ids.back() == 0) {
            std::fprintf(stderr, "window %d did not open\n", n);
            return 1;
        }
    }
    test::X11Machine machine(display.Name());

    // Lookups: the window in the middle of the stacking order.
    const std::string target = "Bench window " + std::to_string(kWindows / 2);
    if (machine.Find(target) != ids[kWindows / 2]) {
        std::fprintf(stderr, "FindWindow found the wrong window\n");
        return 1;
    }
    Steady::time_point start = Steady::now();
    machine.Line("Repeat(FindWindow(\"" + target + "\")," + std::to_string(kLookups) + ")");
    const double ours = Ms(Steady::now() - start) / kLookups;
    double theirs = 0;
    for (int n = 0; n < kProcesses; ++n) {
        theirs += TimeXdotool(display, {"search", "--name", "^" + target + "$"}) / kProcesses;
    }

    // Activations, alternating between two windows.
    ActiveWindowWatch watch(display.Name());
    const std::string titles[] = {"Bench window 50", "Bench window 150"};
    std::vector<double> noticed;
    start = Steady::now();
    for (int n = 0; n < kActivations; ++n) {
        if (!machine.Line("ActivateWindow(\"" + titles[n % 2] + "\")")) {
            std::fprintf(stderr, "ActivateWindow failed\n");
            return 1;
        }
        const Steady::time_point done = Steady::now();
        noticed.push_back(Ms(done - watch.LastChangeBefore(done)));
    }
    const double ourActivation = Ms(Steady::now() - start) / kActivations;
    double theirActivation = 0;
    const unsigned long activated[] = {ids[50], ids[150]};
    for (int n = 0; n < kActivations; ++n) {
        theirActivation +=
            TimeXdotool(display, {"windowactivate", "--sync", std::to_string(activated[n % 2])}) / kActivations;
    }
    std::sort(noticed.begin(), noticed.end());

    std::printf("%d windows of another program, Xvfb with openbox\n", kWindows);
    std::printf("%-44s %10s %10s %8s\n", "", "ordwell", "xdotool", "ratio");
    std::printf("%-44s %8.3f ms %8.3f ms %7.1fx\n", "FindWindow / xdotool search --name", ours, theirs, theirs / ours);
    std::printf("%-44s %8.3f ms %8.3f ms %7.1fx\n", "ActivateWindow / xdotool windowactivate --sync", ourActivation,
                theirActivation, theirActivation / ourActivation);
    std::printf("ActivateWindow returned after the window manager's change: median %.3f ms, slowest %.3f ms\n",
                noticed[noticed.size() / 2], noticed.back());
    std::printf("(FindWindow: one Repeat of %d lookups in one run; xdotool: %d processes.)\n", kLookups, kProcesses);
    return 0;
}
