#pragma once

#include <cstdint>
#include <list>

#include "platform/EventPump.h"
#include "platform/WindowSystem.h"

namespace ordwell {

class Clock;

// Gives the first window a started program shows the state its run style
// asks for (minimized, maximized or hidden). A program shows its window some
// time after it started, while the macro goes on, so the desktop is looked
// at again on timers of the event pump, less often as time passes, until the
// window is there or the program has had kGiveUpMs to show it. The window is
// the first visible top-level window, owned by no other, that the started
// program shows; a program whose window is shown by another process (a
// document handed to a program already running) keeps its own state.
class FirstWindowStyle final {
public:
    static constexpr std::uint64_t kGiveUpMs = 30000;
    static constexpr std::uint32_t kFirstLookMs = 20;
    static constexpr std::uint32_t kLongestPauseMs = 500;

    FirstWindowStyle(EventPump& pump, WindowSystem& windows, const Clock& clock)
        : m_pump(pump), m_windows(windows), m_clock(clock) {}
    // Stops looking for the windows still pending.
    ~FirstWindowStyle();
    FirstWindowStyle(const FirstWindowStyle&) = delete;
    FirstWindowStyle& operator=(const FirstWindowStyle&) = delete;

    void Apply(std::int64_t processId, ShowState state);

private:
    struct Pending {
        std::int64_t processId;
        ShowState state;
        std::uint64_t startMs;
        std::uint32_t pauseMs;
        EventPump::EventId timer;
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
