#pragma once

#include <functional>
#include <xcb/xcb.h>

#include "platform/WindowSystem.h"

namespace ordwell {

class X11Connection;
struct X11WindowFacts;

// The window system of an X display, on our own connection. Window ids are
// X window ids of client windows (never a window manager's frames).
//
// With an EWMH window manager, every change is asked of it, as a pager
// would ask (_NET_ACTIVE_WINDOW, WM_CHANGE_STATE, _NET_WM_STATE,
// _NET_CLOSE_WINDOW), and the answer is awaited on its events. Without one,
// windows are raised, focused, mapped, unmapped and resized directly, and
// WM_STATE and _NET_WM_STATE are kept as a window manager would keep them,
// so that the state reads back alike. A window manager that keeps no EWMH
// check window counts as none.
//
// A close request goes to a window that takes it (WM_DELETE_WINDOW); any
// other window is closed as window managers close it, by ending its
// program's connection (XKillClient), but only when it is shown or
// minimized: a window nobody sees, a toolkit's helper say, is not closed at
// all. This program's own windows are never closed by it.
//
// Exact titles (the lookup's second step) compare by SameTitleIgnoringCase
// over every top-level window: the shown ones first, then the root window's
// other children (see ListTopLevelWindows).
class X11WindowSystem final : public WindowSystem {
public:
    explicit X11WindowSystem(X11Connection& connection) : m_connection(connection) {}

    std::vector<WindowInfo> TopLevelWindows(WindowScope scope) override;
    WindowId ActiveWindow() override;
    std::string Title(WindowId window) override;
    bool Exists(WindowId window) override;
    bool IsMinimized(WindowId window) override;
    bool Activate(WindowId window, const WaitBound& bound) override;
    CloseOutcome Close(WindowId window, CloseMode mode, const WaitBound& bound) override;
    bool Show(WindowId window, ShowState state, const WaitBound& bound) override;

private:
    // Whether the window is one of this program's own, on any of its
    // connections: its X client runs in this process, or it says so.
    bool IsOwnWindow(const X11WindowFacts& facts);
    bool FocusDirectly(xcb_window_t window, xcb_timestamp_t time);
    // Whether the keyboard focus is on the window or a window inside it.
    bool FocusWithin(xcb_window_t window);
    void ShowDirectly(const X11WindowFacts& facts, ShowState state);
    void AskWindowManagerToShow(const X11WindowFacts& facts, ShowState state, const WaitBound& bound);
    // Waits until `reached` holds for the window's facts (or the window is
    // gone), read again after each change of its properties or mapping.
    bool AwaitState(xcb_window_t window, const WaitBound& bound,
                    const std::function<bool(const X11WindowFacts&)>& reached);

    X11Connection& m_connection;
};

} // namespace ordwell
