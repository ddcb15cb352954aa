#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ordwell {

// A top-level window of the desktop: an X11 window id or a Win32 window
// handle both fit. 0 is no window.
using WindowId = std::uint64_t;
constexpr WindowId kNoWindow = 0;

// What a title lookup needs to know of one top-level window.
struct WindowInfo {
    WindowId id = kNoWindow;
    std::string title;          // UTF-8, whole; empty when the window has none
    bool visible = false;       // shown on screen, or minimized
    bool owned = false;         // belongs to another window (a dialog of a main window)
    std::int64_t processId = 0; // the program that shows it; 0 when unknown
};

// Which top-level windows a listing holds: those a user sees or has
// minimized, or every one, hidden ones included.
enum class WindowScope { Shown, All };

enum class ShowState { Normal, Minimized, Maximized, Hidden };

// How a close request is delivered: Wait returns once the window has dealt
// with it (it is gone, or its program answered, with a question of its own
// say); Post returns at once.
enum class CloseMode { Wait, Post };

// What became of a close request.
enum class CloseOutcome {
    NotDelivered, // no such window, or the request could not be sent
    Posted,       // sent, and nobody waited (CloseMode::Post)
    Handled,      // the window is gone, or its program answered
    NoAnswer,     // the program did not answer within the bound
    Stopped,      // the wait ended on a stop request
};

// How long an operation may wait for the window manager or another program,
// and what ends the wait early (a stop request; may be empty). A wait sleeps
// on the window system's events; it never polls.
struct WaitBound {
    std::uint32_t ms = 0;
    std::function<bool()> stopRequested;

    bool Stopped() const { return stopRequested && stopRequested(); }
};

// The desktop's top-level windows. Every call looks at the desktop afresh;
// nothing is remembered between calls.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // The top-level windows in stacking order, the topmost first. With
    // WindowScope::All the others follow, topmost first: hidden windows, and
    // whatever other top-level windows the window system keeps.
    virtual std::vector<WindowInfo> TopLevelWindows(WindowScope scope) = 0;
    // The window that has the keyboard focus, or kNoWindow.
    virtual WindowId ActiveWindow() = 0;
    // The whole title of a window; empty when it has none or is gone.
    virtual std::string Title(WindowId window) = 0;
    virtual bool Exists(WindowId window) = 0;
    virtual bool IsMinimized(WindowId window) = 0;
    // Brings the window to the front and gives it the keyboard focus; true
    // once it is the active window, false when it did not become active
    // within the bound, or the wait was stopped.
    virtual bool Activate(WindowId window, const WaitBound& bound) = 0;
    // Asks the window to close, as its close button would.
    virtual CloseOutcome Close(WindowId window, CloseMode mode, const WaitBound& bound) = 0;
    // Minimizes, maximizes, restores or hides the window, and waits (within
    // the bound) until the window system shows the new state; answers whether
    // the window was visible before.
    virtual bool Show(WindowId window, ShowState state, const WaitBound& bound) = 0;
    // A window this program has just shown, where the program's toolkit
    // cannot name it in the window system's ids (on Wayland): the window
    // titled `title` that is not among `known` (the windows listed before it
    // was shown), waited for within the bound until the window system lists
    // it. kNoWindow when none came, or the window system cannot tell.
    virtual WindowId AwaitNewWindow(std::string_view /*title*/, const std::vector<WindowId>& /*known*/,
                                    const WaitBound& /*bound*/) {
        return kNoWindow;
    }
};

} // namespace ordwell
