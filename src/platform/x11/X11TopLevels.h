#pragma once

#include <vector>
#include <xcb/xcb.h>

#include "X11WindowSurvey.h"
#include "platform/WindowSystem.h"

namespace ordwell {

class X11Connection;

// How the desktop's top-level windows are found, read afresh every time.
//
// With an EWMH window manager (its _NET_SUPPORTING_WM_CHECK window names
// itself) the windows a user sees or has minimized are its clients, in
// _NET_CLIENT_LIST_STACKING; a reparenting window manager's frames are no
// windows of their own. Without one, they are the root window's children,
// in the server's stacking order; a child that is an untitled frame of a
// window manager that keeps no list stands for the client inside it (the
// child that has WM_STATE). Either way, the topmost comes first.

// Whether an EWMH window manager runs now.
bool WindowManagerRuns(X11Connection& connection);

// The shown top-level windows (mapped, or iconic), topmost first; with
// WindowScope::All the root window's other children follow, topmost first:
// hidden windows, and the frames and windows of the window manager.
std::vector<X11WindowFacts> ListTopLevelWindows(X11Connection& connection, WindowScope scope);

// The window manager's _NET_ACTIVE_WINDOW as it is now; none when it names
// none or is not set.
xcb_window_t NetActiveWindow(X11Connection& connection);

// The active top-level window: the window manager's _NET_ACTIVE_WINDOW, or
// without one the top-level window that holds the input focus (the one
// under the pointer when the focus follows it). None when there is none.
xcb_window_t ActiveTopLevelWindow(X11Connection& connection);

} // namespace ordwell
