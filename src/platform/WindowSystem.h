#pragma once

#include <cstdint>
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
    std::string title;          // UTF-8; empty when the window has none
    bool visible = false;       // shown on screen, or minimized
    bool owned = false;         // belongs to another window (a dialog of a main window)
    std::int64_t processId = 0; // the program that shows it; 0 when unknown
};

enum class ShowState { Normal, Minimized, Maximized, Hidden };

// How a close request is delivered: Wait returns once the window has dealt
// with it (a program that asks whether to save holds the caller until the
// question is answered); Post returns at once.
enum class CloseMode { Wait, Post };

// The desktop's top-level windows. Every call looks at the desktop afresh;
// nothing is remembered between calls.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // The top-level windows in stacking order, the topmost first.
    virtual std::vector<WindowInfo> TopLevelWindows() = 0;
    // The window system's own lookup of a window by its exact title, over all
    // top-level windows, hidden and owned ones included.
    virtual WindowId FindByExactTitle(std::string_view title) = 0;
    // The window that has the keyboard focus, or kNoWindow.
    virtual WindowId ActiveWindow() = 0;
    // The whole title of a window; empty when it has none or is gone.
    virtual std::string Title(WindowId window) = 0;
    virtual bool Exists(WindowId window) = 0;
    virtual bool IsMinimized(WindowId window) = 0;
    // Brings the window to the front and gives it the keyboard focus.
    virtual bool Activate(WindowId window) = 0;
    // Asks the window to close, as its close button would; false when the
    // request could not be delivered.
    virtual bool Close(WindowId window, CloseMode mode) = 0;
    // Minimizes, maximizes, restores or hides the window; answers whether it
    // was visible before.
    virtual bool Show(WindowId window, ShowState state) = 0;
    // A left-button click, or double click, delivered to the window under the
    // screen point, in that window's coordinates, without moving the pointer
    // or activating the window. False when no window is there.
    virtual bool ClickAt(int x, int y, bool doubleClick) = 0;
};

} // namespace ordwell
