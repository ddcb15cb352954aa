#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "platform/EventPump.h"
#include "platform/Processes.h"
#include "platform/WindowSystem.h"

namespace ordwell {

class Clock;

// Gives the first window a started program shows the state its run style
// asks for (minimized, maximized or hidden). A program shows its window some
// time after it started, while the macro goes on, so the desktop is looked
// at again on timers of the event pump, less often as time passes, until the
// window is there, the program has ended, or it has had kGiveUpMs to show
// it. The window is the first visible top-level window, owned by no other,
// that the started program shows (the window system names the process of a
// window); a program whose window is shown by another process (a document
// handed to a program already running, a launcher) keeps its own state.
// Where the window system names no process (Wayland), the program's window
// is the first such window that was not there when it started.
//
// When this goes (the run is over and the program about to end) with
// windows still to come, it first waits for them, within the same bound: a
// run whose last line started a program hidden still hides its window. The
// run stays rather than leaving the work to a process of its own that
// outlives it: the wait is over as soon as the window is there, and a
// process left behind would go on looking with no one to stop it.
class FirstWindowStyle final {
public:
    static constexpr std::uint64_t kGiveUpMs = 30000;
    static constexpr std::uint32_t kFirstLookMs = 20;
    static constexpr std::uint32_t kLongestPauseMs = 500;

    FirstWindowStyle(EventPump& pump, WindowSystem& windows, const Clock& clock)
        : m_pump(pump), m_windows(windows), m_clock(clock) {}
    // Waits for the windows still pending, then stops looking.
    ~FirstWindowStyle();
    FirstWindowStyle(const FirstWindowStyle&) = delete;
    FirstWindowStyle& operator=(const FirstWindowStyle&) = delete;

    void Apply(std::shared_ptr<Process> process, ShowState state);
    // Waits until every pending window has its state, its program has ended
    // or its time is up.
    void Finish();

private:
    struct Pending {
        std::shared_ptr<Process> process;
        ShowState state;
        std::uint64_t startMs;
        std::uint32_t pauseMs;
        EventPump::EventId timer;
        std::vector<WindowId> before; // the windows there when it started
    };
    using Entry = std::list<Pending>::iterator;
    void LookLater(Entry entry);
    void Look(Entry entry);

    EventPump& m_pump;
    WindowSystem& m_windows;
    const Clock& m_clock;
    std::list<Pending> m_pending;
};

} // namespace ordwell
